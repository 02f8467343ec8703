# The whole program started from the outside beside a bare Qt window of
# ours with the same menus and a plain text widget.
add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_libraries(bare_window PRIVATE Qt6::Widgets)

add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/bench_startup.cpp)
target_link_libraries(bench_startup PRIVATE benchmark::benchmark)
target_compile_definitions(bench_startup PRIVATE MORVEX_PROGRAM="$<TARGET_FILE:morvex>"
                                                 BARE_WINDOW_PROGRAM="$<TARGET_FILE:bare_window>")
add_dependencies(bench_startup morvex bare_window)
