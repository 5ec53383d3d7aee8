# Writes a C++ source that holds files as byte arrays (the page of
# `davodu serve`), run at build time:
#   cmake -DOUT=file.cpp "-DFILES=a|b" -P embed_files.cmake
# The source defines davodu::serve::kPageAssets (see app/serve/page_assets.h).
set(body "// Generated from the files of app/serve/page by cmake/embed_files.cmake.\n")
string(APPEND body "#include \"serve/page_assets.h\"\n\nnamespace davodu::serve {\n\nnamespace {\n")
string(REPLACE "|" ";" FILES "${FILES}")
set(entries "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const unsigned char kFile${index}[] = {${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "\n}  // namespace\n\nconst PageAsset kPageAssets[] = {\n${entries}};\n")
string(APPEND body "const std::size_t kPageAssetCount = ${index};\n\n}  // namespace davodu::serve\n")
file(WRITE "${OUT}" "${body}")
