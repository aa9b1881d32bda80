# The asset tests read the files that the build generates into DATAS, check the
# generator's TGA writer against the reader, and run the picture generator once
# more to check that it gives the same bytes.
add_dependencies(test_assets assets)
target_sources(test_assets PRIVATE ${CMAKE_SOURCE_DIR}/tools/assetgen/Tga.cpp)
target_include_directories(test_assets PRIVATE ${CMAKE_SOURCE_DIR}/tools/assetgen)
target_compile_definitions(test_assets PRIVATE
    ASSETGEN_IMAGES="$<TARGET_FILE:assetgen_images>"
    VELMORA_FONT_FILE="${VELMORA_FONT_FILE}")
