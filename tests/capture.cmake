# The capture tool's own parts (argument parsing, PNG writing, video piping).
target_link_libraries(test_capture_args PRIVATE velmora_capture)
