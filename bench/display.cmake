# Display and colouring on a 10 MB page: a keystroke's repaint (beside
# QScintilla), a full tokenize through the word scanner.
add_executable(bench_display ${CMAKE_CURRENT_LIST_DIR}/bench_display.cpp)
target_include_directories(bench_display PRIVATE ${QSCINTILLA_INCLUDE_DIR})
target_link_libraries(bench_display PRIVATE tivra32 ${QSCINTILLA_LIBRARY} Qt6::Widgets benchmark::benchmark)
