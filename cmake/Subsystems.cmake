# kalvora_add_subsystems(<folders...>)
# Adds the subsystem folders below the current source folder, in the order
# given. A listed folder without a CMakeLists.txt fails the configure step,
# so that a subsystem is never left out of the build unnoticed.
function(kalvora_add_subsystems)
  file(RELATIVE_PATH here ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(subsystem IN LISTS ARGN)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${subsystem}/CMakeLists.txt)
      message(FATAL_ERROR "The subsystem folder ${here}/${subsystem} is listed but has no CMakeLists.txt.")
    endif()
    add_subdirectory(${subsystem})
  endforeach()
endfunction()
