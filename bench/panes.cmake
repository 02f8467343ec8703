# The file panes on a folder of 10,000 files (the names, then everything the
# details view shows, beside Qt's own listing of the same folder), and the
# link collection on the 10 MB page.
add_executable(bench_panes ${CMAKE_CURRENT_LIST_DIR}/bench_panes.cpp)
target_link_libraries(bench_panes PRIVATE morvex_mainwindow Qt6::Widgets benchmark::benchmark)
