# The language switch on the whole window.
add_executable(bench_language ${CMAKE_CURRENT_LIST_DIR}/bench_language.cpp)
target_include_directories(bench_language PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_language PRIVATE zenu_app benchmark::benchmark Qt6::Widgets)
