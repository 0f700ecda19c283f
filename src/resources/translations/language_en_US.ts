<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>SystemDll</name>
    <message>
        <source>LAB_SIDEBAR_GROUP_SYSTEM</source>
        <translation>System</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_SWITCH_M1_M2</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_APP_FILE</source>
        <translation>App/File</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_HOTKEY</source>
        <translation>Hotkey</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_TEXT</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>LAB_TITLE_SYS_WINDOWCONTROL</source>
        <translation>Window Control</translation>
    </message>
</context>
<context>
    <name>WidgetPluginOpenUrl</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_URL</source>
        <translation>URL</translation>
    </message>
</context>
<context>
    <name>WidgetPluginInputText</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TEXT</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_ADDTEXT</source>
        <translation>Add text here</translation>
    </message>
    <message>
        <source>Please add text</source>
        <translation>Please add text</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_PRESS_ENTER</source>
        <translation>Press Enter to send message</translation>
    </message>
</context>
<context>
    <name>WidgetPluginInputHotkey</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_BLOCK_HOTKEY</source>
        <translation>Hotkey</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_CLICK_TO_ASSIGN</source>
        <translation>Click to assign</translation>
    </message>
</context>
<context>
    <name>WidgetPluginOpenFile</name>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>LAB_TEXT_EDIT</source>
        <translation>Text Settings</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>Change icon (150 x 108 px)</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_APP_FILE</source>
        <translation>App/File</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>Select Image</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>Image Files </translation>
    </message>
</context>
<context>
    <name>WidgetPluginSystemMultimedia</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>Change icon (150 x 108 px)</translation>
    </message>
    <message>
        <source>LAB_TEXT_EDIT</source>
        <translation>Text Settings</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_PLAY_PAUSE</source>
        <translation>Play/Pause</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_STOP</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_PREVIOUS_TRACK</source>
        <translation>Previous Track</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_NEXT_TRACK</source>
        <translation>Next Track</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_MUTE_UNMUTE</source>
        <translation>Mute/Unmute</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_VOLUME_INCREASE</source>
        <translation>Volume Up</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_VOLUME_DECREASE</source>
        <translation>Volume Down</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>Select Image</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>Image Files </translation>
    </message>
</context>
<context>
    <name>WidgetPluginWindowsControl</name>
    <message>
        <source>LAB_WINDOWCONTROL_WINDOW</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_REFRESH</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_SIZE</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_POSITION</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
    <message>
        <source>H</source>
        <translation>H</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION_RESIZE</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION_MINIMIZE</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION_MAXIMIZE</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION_CLOSE</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_MATCH_PROGRAM</source>
        <translation>Any of its windows</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_MATCH_PROGRAM_TIP</source>
        <translation>Act on any window of the program, whatever its title (for browsers and editors, whose titles change)</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_GNOME_EXTENSION</source>
        <translation>Window control on GNOME needs our Shell extension: gnome-extensions enable window-control@vanta.corvane.com, then log in again</translation>
    </message>
</context>
<context>
    <name>PluginSystemMultimedia</name>
    <message>
        <source>LAB_PLUGIN_HOTKEY</source>
        <translation>Hotkey</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_ACTION</source>
        <translation>Action</translation>
    </message>
</context>
<context>
    <name>BasePropertyWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Plugin Title</source>
        <translation>Plugin Title</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>Title</translation>
    </message>
</context>
<context>
    <name>BaseKnobPropertyWidget</name>
    <message>
        <source>Plugin Title</source>
        <translation>Plugin Title</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>Title</translation>
    </message>
</context>
<context>
    <name>IconStateWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>Change icon (150 x 108 px)</translation>
    </message>
    <message>
        <source>LAB_TEXT_EDIT</source>
        <translation>Text Settings</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>Select Image</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>Image Files </translation>
    </message>
</context>
<context>
    <name>DialogIconBuilder</name>
    <message>
        <source>Icon Builder</source>
        <translation>Icon Builder</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>Select Image</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>Change icon (150 x 108 px)</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>LAB_OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>LAB_CANCEL</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_FILL</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_FIT</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_STRETCH</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_TILE</source>
        <translation>Tile</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_CENTER</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>Image Files </translation>
    </message>
</context>
<context>
    <name>DialogIconEditMenu</name>
    <message>
        <source>Icon Builder</source>
        <translation>Icon Builder</translation>
    </message>
    <message>
        <source>LAB_ICON_EDIT_LOCAL</source>
        <translation>Local Disk</translation>
    </message>
    <message>
        <source>LAB_ICON_EDIT_ICONBUILDER</source>
        <translation>Icon Builder</translation>
    </message>
</context>
<context>
    <name>KyDisplayViewTextSetting</name>
    <message>
        <source>LAB_TEXT_EDIT</source>
        <translation>Text Settings</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_BLOD</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_UNDERLINE</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_ITALIC</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_LEFT</source>
        <translation>Align Left</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_CENTER</source>
        <translation>Align Center</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_RIGHT</source>
        <translation>Align Right</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_COLOR</source>
        <translation>Color</translation>
    </message>
</context>
<context>
    <name>WidgetPropertyDelay</name>
    <message>
        <source>LAB_MULTIACTION_DELAYTIME</source>
        <translation>Delay Time</translation>
    </message>
</context>
</TS>
