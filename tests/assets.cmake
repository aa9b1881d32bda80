# The asset tests read the files that the build generates into DATAS, and run the
# picture generator once more to check that it gives the same bytes.
add_dependencies(test_assets assets)
target_compile_definitions(test_assets PRIVATE
    ASSETGEN_IMAGES="$<TARGET_FILE:assetgen_images>"
    VELMORA_FONT_FILE="${VELMORA_FONT_FILE}")
