# cmake -DOBJDUMP=... -DFILES=a.exe;b.dll -P check_imports.cmake
# Fails when a binary imports a MinGW runtime DLL instead of linking it statically.
foreach(f IN LISTS FILES)
  execute_process(COMMAND ${OBJDUMP} -p ${f} OUTPUT_VARIABLE out COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" dlls "${out}")
  list(TRANSFORM dlls REPLACE "DLL Name: " "")
  message(STATUS "${f}: ${dlls}")
  foreach(d IN LISTS dlls)
    if(d MATCHES "^(libstdc\\+\\+|libgcc|libwinpthread|libjpeg|libturbojpeg)")
      message(FATAL_ERROR "${f} imports ${d}")
    endif()
  endforeach()
endforeach()
