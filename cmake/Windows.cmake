# What the Windows build takes from elsewhere: the host's header-only libraries, GoogleTest built from Debian's
# sources, SQLite from its amalgamation, and Wine to run what was built.

# Executables stand alone: no MinGW runtime DLLs beside them.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -static")
set(ZLIB_USE_STATIC_LIBS ON)

# nlohmann-json and CLI11 are headers only; the host's copies serve, through a folder holding just them (the
# host's /usr/include must never reach the cross compiler).
set(QUILLON_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${QUILLON_HOST_HEADERS})
foreach(dir nlohmann CLI)
    if(NOT EXISTS /usr/include/${dir})
        message(FATAL_ERROR "/usr/include/${dir} is missing: run tools/install-deps.sh --windows")
    endif()
    file(CREATE_LINK /usr/include/${dir} ${QUILLON_HOST_HEADERS}/${dir} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${QUILLON_HOST_HEADERS})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${QUILLON_HOST_HEADERS})

# SQLite from the amalgamation that tools/fetch-sqlite.sh unpacked.
set(QUILLON_SQLITE_DIR "" CACHE PATH "Folder with sqlite3.c and sqlite3.h")
if(NOT EXISTS "${QUILLON_SQLITE_DIR}/sqlite3.c")
    message(FATAL_ERROR "No sqlite3.c in QUILLON_SQLITE_DIR (${QUILLON_SQLITE_DIR}): run tools/fetch-sqlite.sh")
endif()
enable_language(C)
add_library(quillon_sqlite STATIC ${QUILLON_SQLITE_DIR}/sqlite3.c)
target_include_directories(quillon_sqlite SYSTEM PUBLIC ${QUILLON_SQLITE_DIR})
# The features the library uses, and none it does not.
target_compile_definitions(quillon_sqlite PRIVATE SQLITE_ENABLE_FTS5 SQLITE_THREADSAFE=1 SQLITE_DQS=0
                                                  SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_FOREIGN_KEYS=0)
target_compile_options(quillon_sqlite PRIVATE -O2 -w)
add_library(SQLite::SQLite3 ALIAS quillon_sqlite)

# libdeflate's decompressor from the Debian source that tools/fetch-libdeflate.sh unpacked.
set(QUILLON_LIBDEFLATE_DIR "" CACHE PATH "Folder with libdeflate's lib/ and libdeflate.h")
if(NOT EXISTS "${QUILLON_LIBDEFLATE_DIR}/libdeflate.h")
    message(FATAL_ERROR "No libdeflate.h in QUILLON_LIBDEFLATE_DIR (${QUILLON_LIBDEFLATE_DIR}): run tools/fetch-libdeflate.sh")
endif()
add_library(quillon_libdeflate STATIC ${QUILLON_LIBDEFLATE_DIR}/lib/deflate_decompress.c
                                      ${QUILLON_LIBDEFLATE_DIR}/lib/utils.c
                                      ${QUILLON_LIBDEFLATE_DIR}/lib/x86/cpu_features.c)
target_include_directories(quillon_libdeflate SYSTEM PUBLIC ${QUILLON_LIBDEFLATE_DIR})
target_compile_options(quillon_libdeflate PRIVATE -O2 -w)
set(QUILLON_LIBDEFLATE quillon_libdeflate)

# GoogleTest from Debian's sources, built with the cross compiler.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Its own build names them GTest::gtest and GTest::gtest_main already.
endif()

# Everything built is run through Wine: the data embedding at build time, test discovery and the tests. The prefix
# lives in the build folder, so a test's registry values touch nothing of the user's.
set(QUILLON_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
# The offscreen platform reads its fonts from one folder: a Latin and a CJK font of the host.
set(QUILLON_WINE_FONTDIR ${CMAKE_BINARY_DIR}/fonts)
file(MAKE_DIRECTORY ${QUILLON_WINE_FONTDIR})
foreach(font /usr/share/fonts/truetype/wqy/wqy-microhei.ttc /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
    if(EXISTS ${font})
        file(COPY ${font} DESTINATION ${QUILLON_WINE_FONTDIR})
    endif()
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
