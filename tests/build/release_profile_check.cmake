# Compiles the release profile with bad values and expects each build to fail
# with a message that names the setting (and, for the version, the value).
#   cmake -DCXX=... -DSOURCE_DIR=... -DWORK_DIR=... -P release_profile_check.cmake
set(good_values
  PRODUCT_DISPLAY_NAME "Velna 2025" MAIN_PROGRAM_FILE_NAME "V2025.exe" PRODUCT_KEY "105" RELEASE_VERSION "1.0003"
  PAYLOAD_RESOURCE_TYPE "Velna" PAYLOAD_RESOURCE_NAME "UpGrade" APPLICATION_TITLE "Actualizare Velna"
  CAPTION_VERSION_PREFIX " - UpGrade v.")

function(compile_profile setting value out_result out_output)
  set(values ${good_values})
  while(values)
    list(POP_FRONT values name text)
    set(VELNA_C_${name} "${text}")
  endwhile()
  set(VELNA_C_${setting} "${value}")
  set(dir "${WORK_DIR}/${setting}")
  file(MAKE_DIRECTORY "${dir}")
  configure_file("${SOURCE_DIR}/cmake/release_profile_values.h.in" "${dir}/release_profile_values.h" @ONLY)
  file(WRITE "${dir}/check.cpp" "#include \"core/release_profile.h\"\n")
  execute_process(COMMAND "${CXX}" -std=c++20 -fsyntax-only -I "${SOURCE_DIR}" -I "${dir}" "${dir}/check.cpp"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${out_result} "${result}" PARENT_SCOPE)
  set(${out_output} "${output}" PARENT_SCOPE)
endfunction()

compile_profile(RELEASE_VERSION "1.0003" result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the good release profile does not compile:\n${output}")
endif()

# Each of `fragments` must appear in the compiler's output (compilers quote
# the message differently, so the pieces are looked for one by one).
function(expect_rejected setting value)
  compile_profile(${setting} "${value}" result output)
  if(result EQUAL 0)
    message(FATAL_ERROR "VELNA_${setting}='${value}' was accepted by the build")
  endif()
  foreach(fragment IN LISTS ARGN)
    string(FIND "${output}" "${fragment}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "VELNA_${setting}='${value}' failed without '${fragment}' in its message:\n${output}")
    endif()
  endforeach()
  message(STATUS "VELNA_${setting}='${value}' rejected")
endfunction()

foreach(version IN ITEMS "1.2.3" "abc" "1,0003" "1e15")
  expect_rejected(RELEASE_VERSION "${version}" "VELNA_RELEASE_VERSION" "${version}" "is not a valid version text")
endforeach()
expect_rejected(RELEASE_VERSION "" "VELNA_RELEASE_VERSION" "is not a valid version text")
expect_rejected(RELEASE_VERSION " " "VELNA_RELEASE_VERSION" "is not a valid version text")
expect_rejected(RELEASE_VERSION "1.5\t" "VELNA_RELEASE_VERSION" "is not a valid version text")
expect_rejected(PRODUCT_DISPLAY_NAME "" "VELNA_PRODUCT_DISPLAY_NAME is empty")
expect_rejected(MAIN_PROGRAM_FILE_NAME "" "VELNA_MAIN_PROGRAM_FILE_NAME is empty")
