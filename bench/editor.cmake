# The editor control on a 10 MB page beside QScintilla in the same run:
# loading, reading the text back and fetching random lines.
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6 REQUIRED)
find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h PATH_SUFFIXES x86_64-linux-gnu/qt6 qt6 REQUIRED)
add_executable(bench_editor ${CMAKE_CURRENT_LIST_DIR}/bench_editor.cpp)
target_include_directories(bench_editor PRIVATE ${QSCINTILLA_INCLUDE_DIR})
target_link_libraries(bench_editor PRIVATE tivra32 ${QSCINTILLA_LIBRARY} Qt6::Widgets benchmark::benchmark)
