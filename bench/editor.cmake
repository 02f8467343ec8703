# The editor control on a 10 MB page beside QScintilla in the same run:
# loading, reading the text back and fetching random lines.
add_executable(bench_editor ${CMAKE_CURRENT_LIST_DIR}/bench_editor.cpp)
target_include_directories(bench_editor PRIVATE ${QSCINTILLA_INCLUDE_DIR})
target_link_libraries(bench_editor PRIVATE tivra32 ${QSCINTILLA_LIBRARY} Qt6::Widgets benchmark::benchmark)
