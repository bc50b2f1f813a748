# The release profile and the payload: fixed when the updater is built.
# A vendor sets these per release, for example
#   cmake --preset windows -DVELNA_RELEASE_VERSION=1.0004 -DVELNA_PAYLOAD=/path/V2025.exe

set(VELNA_PRODUCT_DISPLAY_NAME "Velna 2025" CACHE STRING "Name of the main program shown to users")
set(VELNA_MAIN_PROGRAM_FILE_NAME "V2025.exe" CACHE STRING "File name of the main program in its installation folder")
set(VELNA_PRODUCT_KEY "105" CACHE STRING "Last part of the installation record key HKLM\\Software\\Dorvani\\<key>")
set(VELNA_RELEASE_VERSION "1.0003" CACHE STRING "Version of the main program that the payload brings")
set(VELNA_PAYLOAD_RESOURCE_TYPE "Velna" CACHE STRING "Resource type under which the payload is carried")
set(VELNA_PAYLOAD_RESOURCE_NAME "UpGrade" CACHE STRING "Resource name under which the payload is carried")
set(VELNA_APPLICATION_TITLE "Actualizare Velna" CACHE STRING "Title of the updater on the taskbar and in its error report")
set(VELNA_CAPTION_VERSION_PREFIX " - UpGrade v." CACHE STRING "Text between product name and version in the window caption")
set(VELNA_COMPANY_NAME "Dorvani" CACHE STRING "CompanyName in the updater's version resource")
set(VELNA_LEGAL_COPYRIGHT "Copyright (C) Dorvani" CACHE STRING "LegalCopyright in the updater's version resource")
set(VELNA_PAYLOAD "" CACHE FILEPATH "The new main program's executable; empty builds a stand-in of our own")

# A C++ string literal body for `value`.
function(velna_c_string out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# The four numbers of a Windows version resource for a version text such as
# 1.0003: the whole part and the first four decimals (1,3,0,0). A text of
# another form (an exponent, a sign) or beyond 65535 gives 0,0,0,0; the
# resource's texts carry the version as written in any case.
function(velna_version_words out text)
  set(words "0,0,0,0")
  if(text MATCHES "^ *([0-9]+)(\\.([0-9]*))? *$")
    string(SUBSTRING "${CMAKE_MATCH_3}0000" 0 4 fraction)
    string(REGEX REPLACE "^0+([0-9])" "\\1" whole "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^0+([0-9])" "\\1" fraction "${fraction}")
    string(LENGTH "${whole}" length)
    if(length LESS 6 AND whole LESS_EQUAL 65535)
      set(words "${whole},${fraction},0,0")
    endif()
  endif()
  set(${out} "${words}" PARENT_SCOPE)
endfunction()

# Texts of the updater's version resource, made from the profile.
set(VELNA_FILE_DESCRIPTION "Actualizare ${VELNA_PRODUCT_DISPLAY_NAME}")
velna_version_words(VELNA_VERSION_WORDS "${VELNA_RELEASE_VERSION}")

foreach(setting PRODUCT_DISPLAY_NAME MAIN_PROGRAM_FILE_NAME PRODUCT_KEY RELEASE_VERSION
                PAYLOAD_RESOURCE_TYPE PAYLOAD_RESOURCE_NAME APPLICATION_TITLE CAPTION_VERSION_PREFIX
                COMPANY_NAME LEGAL_COPYRIGHT FILE_DESCRIPTION)
  velna_c_string(VELNA_C_${setting} "${VELNA_${setting}}")
endforeach()

set(VELNA_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/release_profile_values.h.in"
               "${VELNA_GENERATED_DIR}/release_profile_values.h" @ONLY)
