# The client's folders from the bottom layer up (one string per layer, names apart by spaces). A folder imports (includes headers of, links
# targets of) only folders on a lower layer; folders on one layer import each other not at all.
# tests/, bench/ and devsim/ stand outside the layers.
set(OST_FOLDER_LAYERS
  "text res"
  "platform"
  "net resize ui"
  "live"
  "app"
  "session"
  "mainwnd tools record disc"
  "login settings"
  "program")

# ost_folder_rank(<folder> <out-var>): the folder's layer (0 = bottom), or -1 outside the layers.
function(ost_folder_rank folder out)
  set(rank 0)
  foreach(layer IN LISTS OST_FOLDER_LAYERS)
    separate_arguments(names UNIX_COMMAND "${layer}")
    if(folder IN_LIST names)
      set(${out} ${rank} PARENT_SCOPE)
      return()
    endif()
    math(EXPR rank "${rank} + 1")
  endforeach()
  set(${out} -1 PARENT_SCOPE)
endfunction()

# ost_check_folder_links(<folders>): stops the configuration when a target of one of the folders
# (or of a folder beneath it) links a target of a folder that is not on a lower layer.
function(ost_check_folder_links folders)
  set(errors "")
  foreach(folder IN LISTS folders)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      continue()
    endif()
    ost_folder_rank(${folder} rank)
    set(dirs ${PROJECT_SOURCE_DIR}/${folder})
    set(targets "")
    while(dirs)
      list(POP_FRONT dirs dir)
      get_property(t DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
      get_property(sub DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
      list(APPEND targets ${t})
      list(APPEND dirs ${sub})
    endwhile()
    foreach(t IN LISTS targets)
      get_target_property(type ${t} TYPE)
      set(links "")
      if(NOT type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(l ${t} LINK_LIBRARIES)
        if(l)
          list(APPEND links ${l})
        endif()
      endif()
      get_target_property(l ${t} INTERFACE_LINK_LIBRARIES)
      if(l)
        list(APPEND links ${l})
      endif()
      # Names inside generator expressions ($<LINK_GROUP:RESCAN,a,b>) count as well.
      string(REGEX REPLACE "[$<>:,]" ";" links "${links}")
      foreach(dep IN LISTS links)
        if(NOT TARGET ${dep})
          continue()
        endif()
        get_target_property(aliased ${dep} ALIASED_TARGET)
        if(aliased)
          set(dep ${aliased})
        endif()
        get_target_property(imported ${dep} IMPORTED)
        if(imported)
          continue()
        endif()
        get_target_property(dep_dir ${dep} SOURCE_DIR)
        file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${dep_dir})
        string(REGEX REPLACE "/.*$" "" dep_folder "${rel}")
        if(dep_folder STREQUAL folder)
          continue()
        endif()
        ost_folder_rank("${dep_folder}" dep_rank)
        if(dep_rank EQUAL -1 OR NOT dep_rank LESS rank)
          string(APPEND errors "  ${t} (${folder}/) links ${dep} (${dep_folder}/)\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(errors)
    message(FATAL_ERROR "Links against the folder layers (cmake/folder_layers.cmake):\n${errors}")
  endif()
endfunction()
