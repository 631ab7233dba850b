# Run by CPack after the files are staged and stripped: removes the compiler's .comment
# section from the binaries, as Debian's dh_strip does (lintian: binary-has-unneeded-section).
file(GLOB binaries "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
foreach(binary IN LISTS binaries)
  execute_process(COMMAND objcopy --remove-section=.comment "${binary}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
