# cmake -DSOURCE=... -DTARGET=... -P CopyIfMissing.cmake
if(NOT EXISTS "${TARGET}")
  configure_file("${SOURCE}" "${TARGET}" COPYONLY)
  file(CHMOD "${TARGET}" PERMISSIONS OWNER_READ OWNER_WRITE)
endif()
