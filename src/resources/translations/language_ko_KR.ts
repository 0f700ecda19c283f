<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>SystemDll</name>
    <message>
        <source>LAB_SIDEBAR_GROUP_SYSTEM</source>
        <translation>시스템</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_SWITCH_M1_M2</source>
        <translation>웹사이트</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_APP_FILE</source>
        <translation>앱/파일</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_HOTKEY</source>
        <translation>단축키</translation>
    </message>
    <message>
        <source>LAB_SIDEBAR_SYSTEM_TEXT</source>
        <translation>텍스트</translation>
    </message>
    <message>
        <source>LAB_TITLE_SYS_WINDOWCONTROL</source>
        <translation>창 제어</translation>
    </message>
</context>
<context>
    <name>WidgetPluginOpenUrl</name>
    <message>
        <source>Form</source>
        <translation>폼</translation>
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
        <translation>폼</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TEXT</source>
        <translation>텍스트</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_ADDTEXT</source>
        <translation>여기에 텍스트 입력</translation>
    </message>
    <message>
        <source>Please add text</source>
        <translation>텍스트를 입력하세요</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_PRESS_ENTER</source>
        <translation>Enter 키를 눌러 메시지 보내기</translation>
    </message>
</context>
<context>
    <name>WidgetPluginInputHotkey</name>
    <message>
        <source>Form</source>
        <translation>폼</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_BLOCK_HOTKEY</source>
        <translation>단축키</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_CLICK_TO_ASSIGN</source>
        <translation>클릭하여 지정</translation>
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
        <translation>텍스트 설정</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>아이콘 변경 (150 x 108 px)</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>제목</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_APP_FILE</source>
        <translation>앱/파일</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>이미지 선택</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>이미지 파일 </translation>
    </message>
</context>
<context>
    <name>WidgetPluginSystemMultimedia</name>
    <message>
        <source>Form</source>
        <translation>폼</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>아이콘 변경 (150 x 108 px)</translation>
    </message>
    <message>
        <source>LAB_TEXT_EDIT</source>
        <translation>텍스트 설정</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>제목</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_PLAY_PAUSE</source>
        <translation>재생/일시정지</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_STOP</source>
        <translation>정지</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_PREVIOUS_TRACK</source>
        <translation>이전 트랙</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_NEXT_TRACK</source>
        <translation>다음 트랙</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_MUTE_UNMUTE</source>
        <translation>음소거/음소거 해제</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_VOLUME_INCREASE</source>
        <translation>볼륨 높이기</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_MULTIMEDIA_VOLUME_DECREASE</source>
        <translation>볼륨 낮추기</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>이미지 선택</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>이미지 파일 </translation>
    </message>
</context>
<context>
    <name>WidgetPluginWindowsControl</name>
    <message>
        <source>LAB_WINDOWCONTROL_WINDOW</source>
        <translation>창</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_REFRESH</source>
        <translation>새로 고침</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION</source>
        <translation>동작</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_SIZE</source>
        <translation>크기</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_POSITION</source>
        <translation>위치</translation>
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
        <translation>크기 조정</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION_MINIMIZE</source>
        <translation>최소화</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION_MAXIMIZE</source>
        <translation>최대화</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_ACTION_CLOSE</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_MATCH_PROGRAM</source>
        <translation>이 프로그램의 모든 창</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_MATCH_PROGRAM_TIP</source>
        <translation>제목과 관계없이 프로그램의 창을 제어합니다(제목이 바뀌는 브라우저와 편집기용)</translation>
    </message>
    <message>
        <source>LAB_WINDOWCONTROL_GNOME_EXTENSION</source>
        <translation>GNOME에서 창 제어에는 확장이 필요합니다: gnome-extensions enable window-control@vanta.corvane.com 실행 후 다시 로그인하세요</translation>
    </message>
</context>
<context>
    <name>PluginSystemMultimedia</name>
    <message>
        <source>LAB_PLUGIN_HOTKEY</source>
        <translation>단축키</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>제목</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_ACTION</source>
        <translation>동작</translation>
    </message>
</context>
<context>
    <name>BasePropertyWidget</name>
    <message>
        <source>Form</source>
        <translation>폼</translation>
    </message>
    <message>
        <source>Plugin Title</source>
        <translation>플러그인 제목</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>제목</translation>
    </message>
</context>
<context>
    <name>BaseKnobPropertyWidget</name>
    <message>
        <source>Plugin Title</source>
        <translation>플러그인 제목</translation>
    </message>
    <message>
        <source>LAB_PLUGIN_TITLE</source>
        <translation>제목</translation>
    </message>
</context>
<context>
    <name>IconStateWidget</name>
    <message>
        <source>Form</source>
        <translation>폼</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>아이콘 변경 (150 x 108 px)</translation>
    </message>
    <message>
        <source>LAB_TEXT_EDIT</source>
        <translation>텍스트 설정</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>이미지 선택</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>이미지 파일 </translation>
    </message>
</context>
<context>
    <name>DialogIconBuilder</name>
    <message>
        <source>Icon Builder</source>
        <translation>아이콘 빌더</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_SELECT</source>
        <translation>이미지 선택</translation>
    </message>
    <message>
        <source>LAB_IMG_PX</source>
        <translation>아이콘 변경 (150 x 108 px)</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>맞춤 방식</translation>
    </message>
    <message>
        <source>LAB_OK</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>LAB_CANCEL</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_FILL</source>
        <translation>채우기</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_FIT</source>
        <translation>맞춤</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_STRETCH</source>
        <translation>늘이기</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_TILE</source>
        <translation>바둑판식 배열</translation>
    </message>
    <message>
        <source>LAB_SET_BG_PIC_CENTER</source>
        <translation>가운데</translation>
    </message>
    <message>
        <source>LAB_FILTER_IMAGE_FILES</source>
        <translation>이미지 파일 </translation>
    </message>
</context>
<context>
    <name>DialogIconEditMenu</name>
    <message>
        <source>Icon Builder</source>
        <translation>아이콘 빌더</translation>
    </message>
    <message>
        <source>LAB_ICON_EDIT_LOCAL</source>
        <translation>로컬 디스크</translation>
    </message>
    <message>
        <source>LAB_ICON_EDIT_ICONBUILDER</source>
        <translation>아이콘 빌더</translation>
    </message>
</context>
<context>
    <name>KyDisplayViewTextSetting</name>
    <message>
        <source>LAB_TEXT_EDIT</source>
        <translation>텍스트 설정</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_BLOD</source>
        <translation>굵게</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_UNDERLINE</source>
        <translation>밑줄</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_ITALIC</source>
        <translation>기울임꼴</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_LEFT</source>
        <translation>왼쪽 맞춤</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_CENTER</source>
        <translation>가운데 맞춤</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_RIGHT</source>
        <translation>오른쪽 맞춤</translation>
    </message>
    <message>
        <source>LAB_TIP_TEXT_EDIT_COLOR</source>
        <translation>색상</translation>
    </message>
</context>
<context>
    <name>WidgetPropertyDelay</name>
    <message>
        <source>LAB_MULTIACTION_DELAYTIME</source>
        <translation>지연 시간</translation>
    </message>
</context>
</TS>
