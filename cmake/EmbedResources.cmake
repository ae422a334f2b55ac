# Writes a C++ source that registers each file's bytes as a resource under its
# file name. Run as: cmake -DOUTPUT=... -DFUNCTION=... -DFILES="a;b" -P EmbedResources.cmake
set(body "")
set(registrations "")
set(n 0)
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(REGEX REPLACE "(('[^']+',){24})" "\\1\n" bytes "${bytes}")
  string(APPEND body "const char kData${n}[] = {${bytes}'\\0'};\n")
  string(APPEND registrations "  RegisterResource(\"${name}\", std::string_view(kData${n}, ${size}));\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from the files under resources/; do not edit.
#include <string_view>

#include \"platform/resources.h\"

namespace ludex {
namespace {
${body}
}  // namespace

void ${FUNCTION}() {
${registrations}}

}  // namespace ludex
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
