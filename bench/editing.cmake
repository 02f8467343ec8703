# Replace all and undo on the 10 MB page, the editor control beside
# QScintilla in the same run.
add_executable(bench_editing ${CMAKE_CURRENT_LIST_DIR}/bench_editing.cpp)
target_include_directories(bench_editing PRIVATE ${QSCINTILLA_INCLUDE_DIR})
target_link_libraries(bench_editing PRIVATE tivra32 ${QSCINTILLA_LIBRARY} Qt6::Widgets benchmark::benchmark)
