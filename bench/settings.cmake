# ApplySettingsFrame on the real main window: from a settings answer handed
# over by the link to every settings control set.
add_executable(bench_settings
  ${CMAKE_CURRENT_LIST_DIR}/bench_settings.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/SimFrameLog.cpp)
target_include_directories(bench_settings PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
target_link_libraries(bench_settings PRIVATE zenu_app Qt6::Test)
