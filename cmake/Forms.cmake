# kalvora_publish_forms(<target>)
# For a library whose headers hold Designer forms by value (Ui::X m_ui): the
# ui_*.h headers that AUTOUIC generates for it become visible to whoever
# includes those headers. The forms themselves are found in app/forms
# (CMAKE_AUTOUIC_SEARCH_PATHS).
function(kalvora_publish_forms target)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/include>)
endfunction()
