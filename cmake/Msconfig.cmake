# The System Configuration Utility copy that the browser repair puts back.
#
# Microsoft's file cannot be shipped. A builder who has their own copy of the
# Windows XP SP2 msconfig.exe names it here, and only then does the program
# carry it; without one, the repair never removes the msconfig.exe on disk.
set(CC_MSCONFIG_COPY "" CACHE FILEPATH
  "Your own copy of msconfig.exe (Windows XP SP2, 151552 bytes) for the browser repair to restore")
set(CC_MSCONFIG_BYTES 151552)

# Embeds `file` in `target` as the IDR_MSCONFIG resource, after checking its size.
function(cc_embed_msconfig target file)
  if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
    message(FATAL_ERROR "CC_MSCONFIG_COPY: no file at ${file}")
  endif()
  file(SIZE "${file}" size)
  if(NOT size EQUAL CC_MSCONFIG_BYTES)
    message(FATAL_ERROR "CC_MSCONFIG_COPY: ${file} has ${size} bytes, the utility has ${CC_MSCONFIG_BYTES}")
  endif()
  file(TO_CMAKE_PATH "${file}" file)
  set(rc "${CMAKE_BINARY_DIR}/${target}-msconfig.rc")
  file(CONFIGURE OUTPUT "${rc}" CONTENT
    "#include \"${CMAKE_SOURCE_DIR}/resources/ResourceIds.h\"\nIDR_MSCONFIG RCDATA \"${file}\"\n" @ONLY)
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${file}")
  target_sources(${target} PRIVATE "${rc}")
endfunction()

if(CC_MSCONFIG_COPY)
  cc_embed_msconfig(ChengchuanCleaner "${CC_MSCONFIG_COPY}")
endif()

# The Wine tests carry a stand-in block of the same size, so that the swap is
# tested without Microsoft's file. tests/windows/ExactFilesWineTest.cpp expects the same bytes.
string(REPEAT "msconfig-standin" 9472 stand_in)   # 16 x 9472 = 151552 bytes
set(CC_MSCONFIG_STAND_IN "${CMAKE_BINARY_DIR}/msconfig-stand-in.bin")
file(CONFIGURE OUTPUT "${CC_MSCONFIG_STAND_IN}" CONTENT "${stand_in}" @ONLY)
cc_embed_msconfig(cc_windows_tests "${CC_MSCONFIG_STAND_IN}")
