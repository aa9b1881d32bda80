# Every #include of src/ and tools/ against the layer order of the top CMakeLists.txt.
get_property(rules GLOBAL PROPERTY VELMORA_LAYERS)
string(REPLACE ";" "|" rules "${rules}")
add_test(NAME layers.includes
    COMMAND ${CMAKE_COMMAND} "-DRULES=${rules}" -DROOT=${CMAKE_SOURCE_DIR}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/layers/check.cmake)
