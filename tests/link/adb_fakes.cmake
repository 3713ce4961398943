# Wiring of the adb and libimobiledevice test doubles (included by
# tests/link/CMakeLists.txt after link_tests is defined).
#
# link_tests copies fake_adb.exe (FAKE_ADB_PATH) into temporary folders as
# adb\adb.exe, and loads the fake libimobiledevice from its own folder, where
# it is copied under the first name the loader tries.
if(WIN32 AND TARGET link_tests)
  add_dependencies(link_tests fake_adb fake_imobiledevice)
  target_link_libraries(link_tests PRIVATE test_support_adb)
  add_custom_command(TARGET link_tests POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:fake_imobiledevice>
            $<TARGET_FILE_DIR:link_tests>/imobiledevice.dll)

  # A loader test that runs from a folder of its own (what lies beside the
  # program is the case under test), with the adb and libimobiledevice fixtures.
  function(vela_idevice_loader_test name source folder)
    vela_add_test(${name}
                  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${source}
                  LIBS test_support_adb)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${folder})
  endfunction()

  # The loader with no library beside the program.
  vela_idevice_loader_test(idevice_loader_absent_tests idevice_loader/absent_test.cpp idevice_absent)

  # The loader with an incomplete library under the first name tried and one
  # that lacks pinvoke_free_string under the second: the first is passed over,
  # and strings go back through the second's own C runtime.
  vela_idevice_loader_test(idevice_loader_fallback_tests idevice_loader/fallback_test.cpp idevice_fallback)
  add_dependencies(idevice_loader_fallback_tests fake_imobiledevice_plain fake_imobiledevice_incomplete)
  add_custom_command(TARGET idevice_loader_fallback_tests POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:fake_imobiledevice_plain>
            $<TARGET_FILE_DIR:idevice_loader_fallback_tests>/libimobiledevice-1.0.dll
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:fake_imobiledevice_incomplete>
            $<TARGET_FILE_DIR:idevice_loader_fallback_tests>/imobiledevice.dll)
endif()
