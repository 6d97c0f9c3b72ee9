# The program's resource script, for every Windows executable of the program.
# Loaded by platform/CMakeLists.txt, the first folder the top level adds, so that the variable
# and the function exist before any executable is defined.
#
#   OST_RESOURCES_RC         the script (res/ostrova.rc); it includes the string table and the
#                            dialog templates
#   ost_add_resources(tgt)   adds the script to an executable's sources; the compiled resources
#                            are rebuilt when any file under res/ changes
#
# A .res inside a static library is never linked in, so each executable adds the script itself.
# Resources of several scripts in one executable are merged by the linker, so a test may add a
# script of its own beside this one (keep its ids apart from the program's).

set(OST_RESOURCES_RC ${CMAKE_CURRENT_LIST_DIR}/ostrova.rc)

function(ost_add_resources target)
  set(rc ${PROJECT_SOURCE_DIR}/res/ostrova.rc)
  # windres reports no header dependencies: every resource file counts as one.
  file(GLOB deps CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*.rc ${PROJECT_SOURCE_DIR}/res/*.h
       ${PROJECT_SOURCE_DIR}/res/*.bmp)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS "${deps}")
endfunction()
