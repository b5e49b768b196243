# Checks that the sources of a library that needs no window include nothing of a window: every
# Qt header they include is Qt Core's, and every header of this project they include belongs to a
# library that needs no window. Run by the build before it compiles the library (see
# quorvella_check_layering in the top CMakeLists.txt); fails, naming each offending line.
#
#   cmake -DLIBRARY=name -DFILES=a;b -DQT_CORE_DIR=dir -DWINDOW_HEADERS=x/y.h;... -DSTAMP=file
#         -P check_layering.cmake
cmake_minimum_required(VERSION 3.25)
set(faults "")
foreach(file IN LISTS FILES)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(line MATCHES "<(Q[A-Za-z0-9_/]*)>")
            set(header ${CMAKE_MATCH_1})
            string(REGEX REPLACE "^QtCore/" "" header ${header})
            if(NOT EXISTS ${QT_CORE_DIR}/${header})
                list(APPEND faults "${file}: ${line}: not a header of Qt Core")
            endif()
        elseif(line MATCHES "\"([^\"]+)\"")
            if(CMAKE_MATCH_1 IN_LIST WINDOW_HEADERS)
                list(APPEND faults "${file}: ${line}: a header of a library with windows")
            endif()
        endif()
    endforeach()
endforeach()
if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "${LIBRARY} needs no window, but includes:\n  ${text}")
endif()
file(TOUCH ${STAMP})
