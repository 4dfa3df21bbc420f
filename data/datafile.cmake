# Builds the intro's data file from the two images with the library's dat:
# object 0 the logo, object 1 the font, then dat's own info object. dat keeps
# objects sorted by name, so they are named LOGO and MYFONT. The chunks are
# packed one by one (-c1). DATE is set to a fixed value so that the same images
# always give the same bytes, whenever and wherever they were checked out.
#
#    cmake -DDAT=dat -DSOURCE=data -DOUTPUT=intro.dat -P datafile.cmake
foreach(var DAT SOURCE OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "datafile.cmake needs -D${var}=...")
  endif()
endforeach()

set(date "12-01-2003, 00:00")
get_filename_component(workdir ${OUTPUT} DIRECTORY)
set(work ${workdir}/datafile-work)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
file(COPY ${SOURCE}/logo.pcx ${SOURCE}/font.pcx DESTINATION ${work})
file(REMOVE ${OUTPUT})

function(dat)
  execute_process(COMMAND ${DAT} ${ARGN}
    WORKING_DIRECTORY ${work} RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "dat ${ARGN} failed:\n${log}")
  endif()
endfunction()

dat(-c1 -f -a -t BMP -bpp 8 ${OUTPUT} logo.pcx)
dat(-c1 -f -a -t FONT ${OUTPUT} font.pcx)
dat(-c1 ${OUTPUT} LOGO_PCX NAME=LOGO DATE=${date} ORIG=data/logo.pcx)
dat(-c1 ${OUTPUT} FONT_PCX NAME=MYFONT DATE=${date} ORIG=data/font.pcx)
file(REMOVE_RECURSE ${work})
