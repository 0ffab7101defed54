# Writes OUTPUT, a C++ source that defines NAMESPACE::SYMBOL as the bytes of INPUT followed by a NUL,
# and NAMESPACE::SYMBOLSize as the number of bytes before that NUL.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
    "// Generated from ${name} at build time; edit the file, not this.\n"
    "namespace ${NAMESPACE}\n{\nextern const char ${SYMBOL}[];\nconst char ${SYMBOL}[] = {\n    ${bytes}'\\0'\n};\n"
    "extern const int ${SYMBOL}Size;\nconst int ${SYMBOL}Size = ${size};\n}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
