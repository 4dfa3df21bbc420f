# Runs the content generator into a fresh folder and compares what it made
# with the committed images.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${GENERATOR} ${WORK} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the generator failed")
endif()
foreach(image logo.pcx font.pcx)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
    ${WORK}/${image} ${SOURCE}/${image} RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${image} differs from what the generator makes")
  endif()
endforeach()
message(STATUS "logo.pcx and font.pcx regenerate byte for byte")
