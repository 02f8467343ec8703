# The plain logic on a large page: entity conversion, code check, clean-up.
add_executable(bench_logic ${CMAKE_CURRENT_LIST_DIR}/bench_logic.cpp)
target_link_libraries(bench_logic PRIVATE morvex_markup benchmark::benchmark)
