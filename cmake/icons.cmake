# The game's icons at the usual sizes, drawn from the ship pictures by
# tools/art/draw_icons.py into icons/ of the build: ICON_SIZES and ICON_FILES.
set(ICON_SIZES 16 32 48 64 128 256)
set(ICON_FILES)
foreach(size ${ICON_SIZES})
  list(APPEND ICON_FILES ${CMAKE_BINARY_DIR}/icons/quillbarrow-${size}.png)
endforeach()
find_program(PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_custom_command(
  OUTPUT ${ICON_FILES}
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/art/draw_icons.py ${CMAKE_BINARY_DIR}/icons
  DEPENDS tools/art/draw_icons.py tools/art/sheet.py assets/art/ships.png
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Drawing the icons"
  VERBATIM)
add_custom_target(icons ALL DEPENDS ${ICON_FILES})
