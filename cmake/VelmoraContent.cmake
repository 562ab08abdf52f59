# The game's content: tools/build-content.py stages every file under build/content and packs
# them into assets.qca next to the program, which run.sh starts in that folder.

# Debian's Pillow (python3-pil) belongs to the system's interpreter; another python3 earlier on
# the PATH may not have it.
find_program(VELMORA_CONTENT_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT VELMORA_CONTENT_PYTHON)
    find_program(VELMORA_CONTENT_PYTHON NAMES python3 REQUIRED)
endif()
execute_process(COMMAND ${VELMORA_CONTENT_PYTHON} -c "import PIL"
    RESULT_VARIABLE pil_missing OUTPUT_QUIET ERROR_QUIET)
if(pil_missing)
    message(FATAL_ERROR "${VELMORA_CONTENT_PYTHON} cannot import PIL: run scripts/install-deps")
endif()

set(VELMORA_CONTENT_FOLDER ${CMAKE_BINARY_DIR}/content)
set(VELMORA_CONTENT_ARCHIVE ${CMAKE_BINARY_DIR}/game/app/assets.qca)
set(content_password_header ${PROJECT_SOURCE_DIR}/game/app/ContentArchivePassword.h)
file(GLOB_RECURSE content_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/content/* ${PROJECT_SOURCE_DIR}/tools/*.py)

add_custom_command(OUTPUT ${VELMORA_CONTENT_ARCHIVE}
    COMMAND ${VELMORA_CONTENT_PYTHON} ${PROJECT_SOURCE_DIR}/tools/build-content.py
        ${PROJECT_SOURCE_DIR}/content ${VELMORA_CONTENT_FOLDER} ${VELMORA_CONTENT_ARCHIVE}
        ${content_password_header}
    DEPENDS ${content_sources} ${content_password_header}
    COMMENT "Building the game's content into assets.qca"
    VERBATIM)
add_custom_target(velmora_content ALL DEPENDS ${VELMORA_CONTENT_ARCHIVE})
