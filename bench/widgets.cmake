# The window's instruments: repainting the top panel, one flash-timer beat
# with the window's lamps blinking.
add_executable(bench_widgets ${CMAKE_CURRENT_LIST_DIR}/bench_widgets.cpp)
target_include_directories(bench_widgets PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_widgets PRIVATE zenu_app zenu_widgets benchmark::benchmark Qt6::Widgets)
