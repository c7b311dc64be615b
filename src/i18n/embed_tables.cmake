# Writes a C++ source that holds the translation tables as byte arrays.
# Run as: cmake -DOUTPUT=<file.cpp> -DTABLE_DIR=<resources/i18n> -P embed_tables.cmake
#
# Each language file is UTF-8 in the table text format. A line holding just
# the marker below divides it into the language's two texts; a file without
# the marker is one text.

set(marker "#== second text ==")
set(languages eng kEnglish fre kFrench ger kGerman spa kSpanish rus kRussian)

string(REPEAT "[0-9a-f]" 32 line)
set(body "")
set(cases "")
list(LENGTH languages count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET languages ${i} code)
  list(GET languages ${j} id)
  set(path "${TABLE_DIR}/${code}.txt")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "translation table missing: ${path}")
  endif()
  file(READ "${path}" hex HEX)
  # Split on the marker in the raw bytes, so that no character of the text is
  # read as CMake list syntax.
  string(HEX "\n${marker}\n" markerHex)
  string(FIND "${hex}" "${markerHex}" at)
  if(at EQUAL -1)
    set(firstHex "${hex}")
    set(secondHex "")
  else()
    math(EXPR misaligned "${at} % 2")
    if(misaligned)
      message(FATAL_ERROR "cannot split ${path} at its marker line")
    endif()
    string(SUBSTRING "${hex}" 0 ${at} firstHex)
    string(LENGTH "${markerHex}" markerLength)
    math(EXPR rest "${at} + ${markerLength}")
    string(SUBSTRING "${hex}" ${rest} -1 secondHex)
  endif()
  foreach(part first second)
    # Sixteen bytes a line: break the hex digits first, then spell each byte.
    string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${${part}Hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
    string(LENGTH "${${part}Hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(APPEND body "constexpr char k_${code}_${part}[] = {\n    ${bytes}'\\0'};\n")
    set(${part}Size ${size})
  endforeach()
  string(APPEND cases "  case LanguageId::${id}:\n"
    "    return {std::string_view(k_${code}_first, ${firstSize}), "
    "std::string_view(k_${code}_second, ${secondSize})};\n")
endforeach()

string(CONCAT source "// Generated from resources/i18n/*.txt by embed_tables.cmake. Do not edit.\n"
  "#include \"i18n/builtin_tables.h\"\n\nnamespace corvesta {\nnamespace {\n\n${body}\n"
  "} // namespace\n\nBuiltInTable BuiltInTableOf(LanguageId id) {\n  switch (id) {\n${cases}"
  "  }\n  return {};\n}\n\n} // namespace corvesta\n")
file(WRITE "${OUTPUT}.tmp" "${source}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
