# Renders the icon set from the hand-written SVG sources next to this file.
#
# key/  the key and menu icons of the actions, drawn on the 150 x 108 key face.
#       Each gives a PNG still and, where the package has one, an animated GIF of
#       the same drawing (the source animates itself; see icongen/main.cpp).
# kit/  the inspector kit's button images and the key-face veils. A button's
#       states come from one source by colour substitution: "_n" grey, "_m"
#       lighter, "_c" orange, "_d" dim.
#
# Sets, in the including scope:
#   SYSTEMDLL_IMAGE_FILES      package images, resource alias "images/<name>"
#   SYSTEMDLL_KIT_IMAGE_FILES  kit images, resource alias "<name>" (for "/images")

get_filename_component(_systemdll_icongen_dir ${CMAKE_CURRENT_LIST_DIR}/../icongen ABSOLUTE)
if(NOT TARGET systemdll_icongen)
    add_subdirectory(${_systemdll_icongen_dir} ${CMAKE_CURRENT_BINARY_DIR}/icongen)
endif()

set(_systemdll_icon_src ${CMAKE_CURRENT_LIST_DIR})
set(_systemdll_icon_out ${CMAKE_CURRENT_BINARY_DIR}/images)

# _systemdll_icon(<list> <alias prefix> <png|gif|svg> <source> <output name>
#                 [SIZE <w>x<h>] [FRAMES <n>] [MAP <from=to>...])
# Adds the rule that makes <output name> from <source> and appends the output to
# <list>.
function(_systemdll_icon list alias_prefix mode source name)
    cmake_parse_arguments(ARG "" "SIZE;FRAMES" "MAP" ${ARGN})
    set(src ${_systemdll_icon_src}/${source})
    set(out ${_systemdll_icon_out}/${name})
    set(args ${mode} ${src} ${out})
    if(ARG_SIZE)
        list(APPEND args ${ARG_SIZE})
    endif()
    if(ARG_FRAMES)
        list(APPEND args ${ARG_FRAMES})
    endif()
    list(APPEND args ${ARG_MAP})
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:systemdll_icongen> ${args}
        DEPENDS ${src} systemdll_icongen
        COMMENT "Drawing ${name}"
        VERBATIM)
    set_source_files_properties(${out} PROPERTIES
        GENERATED TRUE
        QT_RESOURCE_ALIAS ${alias_prefix}${name})
    set(${list} ${${list}} ${out} PARENT_SCOPE)
endfunction()

# Colour substitutions for the button states; the sources are drawn in the "_n" look
# (grey a1a1a1 ink; blocks 333333 with a 3d3d3d rim).
set(_systemdll_state_n)
set(_systemdll_state_m a1a1a1=e6e6e6 333333=3d3d3d 3d3d3d=474747)
set(_systemdll_state_c a1a1a1=ff9900 333333=2a2a2a)
set(_systemdll_state_d a1a1a1=5e5e5e 333333=2c2c2c 3d3d3d=333333)

# _systemdll_states(<list> <png|svg> <source> <name stem> <extension> [SIZE <w>x<h>] STATES <s>...)
# One image per state, named <stem>_<state>.<extension>.
function(_systemdll_states list mode source stem ext)
    cmake_parse_arguments(ARG "" "SIZE" "STATES" ${ARGN})
    set(files ${${list}})
    foreach(state IN LISTS ARG_STATES)
        set(size)
        if(ARG_SIZE)
            set(size SIZE ${ARG_SIZE})
        endif()
        _systemdll_icon(files "" ${mode} ${source} ${stem}_${state}.${ext} ${size}
                        MAP ${_systemdll_state_${state}})
    endforeach()
    set(${list} ${files} PARENT_SCOPE)
endfunction()

# Key icons: 150 x 108. The GIF loops last as long as the source's animation; the
# frame counts keep every frame a whole number of centiseconds.
set(SYSTEMDLL_IMAGE_FILES)
foreach(entry
        url:mainpage_btn_url:24
        app:mainpage_btn_app:24
        hotkey:mainpage_btn_hotkey:20
        text:mainpage_btn_text:24
        multimedia:mainpage_btn_multimedia:20
        increasevolume:mainpage_btn_multimedia_increasevolume:20
        decreasevolume:mainpage_btn_multimedia_decreasevolume:20
        nexttrack:mainpage_btn_multimedia_nexttrack:20
        previoustrack:mainpage_btn_multimedia_previoustrack:20)
    string(REPLACE ":" ";" entry ${entry})
    list(GET entry 0 source)
    list(GET entry 1 name)
    list(GET entry 2 frames)
    _systemdll_icon(SYSTEMDLL_IMAGE_FILES "images/" png key/${source}.svg ${name}.png SIZE 150x108)
    _systemdll_icon(SYSTEMDLL_IMAGE_FILES "images/" gif key/${source}.svg ${name}.gif SIZE 150x108 FRAMES ${frames})
endforeach()
_systemdll_icon(SYSTEMDLL_IMAGE_FILES "images/" png key/mute.svg mainpage_btn_multimedia_mute.png SIZE 150x108)
_systemdll_icon(SYSTEMDLL_IMAGE_FILES "images/" png key/stop.svg mainpage_btn_multimedia_stop.png SIZE 150x108)
_systemdll_icon(SYSTEMDLL_IMAGE_FILES "images/" svg key/window_control.svg mainpage_btn_window_control.svg)

# Inspector kit.
set(SYSTEMDLL_KIT_IMAGE_FILES)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/appicon.svg Ky520_Appicon_128.png SIZE 128x128)

_systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES svg kit/text_edit.svg component_btn_text_edit svg STATES n m c d)
_systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES svg kit/photo.svg component_btn_photo svg STATES n m c d)
_systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES png kit/photo.svg component_btn_photo png SIZE 22x22 STATES n m c d)
_systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES svg kit/window_setting.svg component_btn_window_stting svg STATES n m c d)
_systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES svg kit/window_close.svg component_btn_window_close svg STATES n m c)
foreach(style bold under_line italic position_left position_center position_right)
    _systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES svg kit/text_${style}.svg component_btn_text_${style} svg
                      STATES n m c)
endforeach()

_systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES png kit/point_block.svg component_btn_point_block_b png
                  SIZE 24x24 STATES n m c d)
_systemdll_states(SYSTEMDLL_KIT_IMAGE_FILES png kit/refresh_block.svg component_btn_refresh_block_b png
                  SIZE 24x24 STATES n m c d)

_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/checkbox_uncheck.svg component_checkbox_uncheck_n.png SIZE 22x22)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/checkbox_uncheck.svg component_checkbox_uncheck_m.png SIZE 22x22
                MAP a1a1a1=e6e6e6)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/checkbox_checked.svg component_checkbox_checked_n.png SIZE 22x22)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/checkbox_checked.svg component_checkbox_checked_m.png SIZE 22x22
                MAP ff9900=ffaa00)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/dropdown.svg component_btn_dropdown_n.png SIZE 22x22)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/page.svg component_btn_page_unselected.png SIZE 36x16)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/page.svg component_btn_page_selected.png SIZE 36x16
                MAP 4a4a4a=ff9900)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/color_select.svg component_btn_color_select.png SIZE 20x20)

_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" svg kit/knob.svg component_btn_knob_n.svg)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" svg kit/knob_disabled.svg component_btn_knob_d_1.svg)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" svg kit/knob_preview.svg mainpage_btn_knob_n.svg)

_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/key_click.svg mainpage_btn_click.png SIZE 150x108)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" svg kit/key_invalid.svg mainpage_btn_invalid.svg)
_systemdll_icon(SYSTEMDLL_KIT_IMAGE_FILES "" png kit/key_disable.svg mainpage_btn_disable.png SIZE 150x108)
