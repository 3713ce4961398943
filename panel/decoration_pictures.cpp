#include "panel/decoration_pictures.h"

#include <map>

#include "widgets/image_helpers.h"

HBITMAP DecorationPicture(int id) {
  // Never destroyed: items may still paint while static objects go at exit.
  static auto* cache = new std::map<int, BitmapHandle>();
  auto found = cache->find(id);
  if (found == cache->end()) found = cache->emplace(id, LoadPngAsHBitmap(id, 0)).first;
  return found->second.get();
}
