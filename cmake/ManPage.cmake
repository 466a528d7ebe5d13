# cmake -DHELP2MAN=... -DGZIP=... -DPROGRAM=path -DINCLUDE=file.h2m -DPAGE=out.1 -P ManPage.cmake
#
# One man page from a program's own --help and --version. The first line of
# --help ("Name - what it does") becomes the NAME paragraph and leaves the
# DESCRIPTION, so the page says it once, in the program's own words.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN} --no-info --section=1 "--manual=Lumen lab suite"
            --include=${INCLUDE} --output=${PAGE} ${PROGRAM}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}: ${status}")
endif()

file(READ ${PAGE} page)
string(REGEX MATCH "\n\\.SH DESCRIPTION\n([^\n.][^\n]* \\\\- [^\n]*)\n(\\.PP\n)?" own_line "${page}")
if(NOT own_line)
  message(FATAL_ERROR "${PROGRAM} --help does not begin with \"Name - what it does\"")
endif()
set(name_line "${CMAKE_MATCH_1}")
string(REPLACE "${own_line}" "\n.SH DESCRIPTION\n" page "${page}")
string(REGEX MATCH "\n\\.SH NAME\n[^\n]*\n" old_name "${page}")
string(REPLACE "${old_name}" "\n.SH NAME\n${name_line}\n" page "${page}")
file(WRITE ${PAGE} "${page}")

execute_process(COMMAND ${GZIP} -9nf ${PAGE} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${PAGE}")
endif()
