# The two-session disc the Windows test left, read with standard tools: the newest session lists
# the files of both, with the volume name, and each file's bytes are the ones written.
# usage: cmake -DISOINFO=<isoinfo> -DXORRISO=<xorriso or empty> -DDIR=<folder> -P check_disc_image.cmake
set(image ${DIR}/two_sessions.iso)
if(NOT EXISTS ${image})
  message(FATAL_ERROR "no ${image}: disc_writer_test did not leave it")
endif()
execute_process(COMMAND ${ISOINFO} -d -i ${image} OUTPUT_VARIABLE pvd RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT pvd MATCHES "Volume id: OstrovaBackup")
  message(FATAL_ERROR "volume: ${pvd}")
endif()
foreach(name CH01_0001.dvr CH02_0001.dvr Quendor_setup.exe)
  execute_process(COMMAND ${ISOINFO} -i ${image} -x "/${name};1" OUTPUT_FILE ${DIR}/read_${name}
                  RESULT_VARIABLE rc)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DIR}/${name} ${DIR}/read_${name}
                  RESULT_VARIABLE same)
  if(NOT rc EQUAL 0 OR NOT same EQUAL 0)
    message(FATAL_ERROR "${name} on the disc differs from the file written")
  endif()
endforeach()
if(XORRISO)
  execute_process(COMMAND ${XORRISO} -indev ${image} -toc -ls / OUTPUT_VARIABLE listing
                  ERROR_VARIABLE log)
  foreach(name CH01_0001.dvr CH02_0001.dvr Quendor_setup.exe)
    if(NOT listing MATCHES "${name}")
      message(FATAL_ERROR "xorriso does not list ${name}:\n${listing}\n${log}")
    endif()
  endforeach()
endif()
message(STATUS "the disc lists both sessions' files")
