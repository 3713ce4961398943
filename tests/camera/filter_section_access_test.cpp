// A camera loaded by a sandboxed meeting app runs at low integrity: the
// section the program makes carries a low mandatory label, so such a
// process may open it for reading (the DACL's read grant to ALL APPLICATION
// PACKAGES is checked with the section reader in the video tests).
#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include "framework/handles.h"
#include "tests/support/camera_graph.h"

namespace {

using LocalMemory = UniqueOwner<void*, ReleasedBy<void, &LocalFree>>;

TEST(FrameSectionAccess, CarriesALowMandatoryLabelWithNoWriteUp) {
  const std::string name = SectionNameFor("label");
  Producer producer(name);
  ASSERT_TRUE(producer.PublishSolid(16, 16, {1, 2, 3}));
  UniqueHandle mapping(OpenFileMappingA(READ_CONTROL, FALSE, name.c_str()));
  ASSERT_TRUE(mapping);
  PACL sacl = nullptr;
  PSECURITY_DESCRIPTOR raw = nullptr;
  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
            GetSecurityInfo(mapping.get(), SE_KERNEL_OBJECT, LABEL_SECURITY_INFORMATION, nullptr, nullptr,
                            nullptr, &sacl, &raw));
  LocalMemory descriptor(raw);
  ASSERT_NE(nullptr, sacl);
  PSID rawLow = nullptr;
  ASSERT_TRUE(ConvertStringSidToSidA("S-1-16-4096", &rawLow));  // low mandatory level
  LocalMemory low(rawLow);
  bool labelled = false;
  for (DWORD i = 0; i < sacl->AceCount; ++i) {
    SYSTEM_MANDATORY_LABEL_ACE* ace = nullptr;
    if (!GetAce(sacl, i, reinterpret_cast<void**>(&ace)) ||
        ace->Header.AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE)
      continue;
    if (EqualSid(&ace->SidStart, low.get()) && (ace->Mask & SYSTEM_MANDATORY_LABEL_NO_WRITE_UP))
      labelled = true;
  }
  EXPECT_TRUE(labelled);
}

}  // namespace
