# Cost of one flash-timer beat with the main window's LEDs blinking.
add_executable(bench_flash_timer ${CMAKE_CURRENT_LIST_DIR}/bench_flash_timer.cpp)
target_link_libraries(bench_flash_timer PRIVATE zenu_widgets benchmark::benchmark Qt6::Widgets)
