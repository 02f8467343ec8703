# FTP throughput on loopback: a large file sent and fetched by the client
# and, in the same run, by curl (when installed) against the same server,
# plain and secured; the certificates come from the tests' own authority.
add_executable(bench_ftp ${CMAKE_CURRENT_LIST_DIR}/bench_ftp.cpp)
target_include_directories(bench_ftp PRIVATE ${PROJECT_SOURCE_DIR}/tests/publish)
target_link_libraries(bench_ftp PRIVATE morvex_publish Qt6::Widgets benchmark::benchmark)
