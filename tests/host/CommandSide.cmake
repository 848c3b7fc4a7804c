# Tests of the stand-in host's command side: argument parsing, the script
# interpreter, modifiers, selection, plug-in loading and kelp-batch.
# Included from this folder's CMakeLists.txt.
add_executable(kelp_host_command_tests
    ArgParsingTest.cpp
    CommandErrorsTest.cpp
    HierarchyCommandsTest.cpp
    InterpreterTest.cpp
    ModifierTest.cpp
    PluginCommandErrorsTest.cpp
    PluginTest.cpp
    ScriptLexerTest.cpp
    SelectModesTest.cpp
    SelectionTest.cpp
    SessionTest.cpp
    UndoTest.cpp)
target_link_libraries(kelp_host_command_tests PRIVATE kelp_host_testing GTest::gtest_main)
# The lexer is tested through its internal header.
target_include_directories(kelp_host_command_tests PRIVATE
                           ${PROJECT_SOURCE_DIR}/host/src/script)
target_compile_definitions(kelp_host_command_tests PRIVATE
    KELP_TEST_PLUGIN="$<TARGET_FILE:kelpTestPlugin>"
    KELP_BATCH="$<TARGET_FILE:kelp-batch>")
add_dependencies(kelp_host_command_tests kelpTestPlugin kelp-batch)
gtest_discover_tests(kelp_host_command_tests DISCOVERY_TIMEOUT 60)
