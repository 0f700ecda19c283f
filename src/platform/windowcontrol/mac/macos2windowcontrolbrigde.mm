#include "macos2windowcontrolbrigde.h"

#include "platform/windowcontrol/windowrecordfilter.h"

#include <CoreGraphics/CoreGraphics.h>
#include <dlfcn.h>
#include <objc/message.h>
#include <objc/runtime.h>

namespace {

const char kWindowManagerClass[] = "_TtC18VantaWindowControl13WindowManager";
const char kFrameworkPath[] = "@rpath/VantaWindowControl.framework/Versions/A/VantaWindowControl";

// objc_msgSend cast to the message's real signature.
template<typename R, typename... Args>
R send(id receiver, const char* selector, Args... args)
{
    return reinterpret_cast<R (*)(id, SEL, Args...)>(objc_msgSend)(receiver, sel_registerName(selector), args...);
}

// A CGRect does not fit in registers on x86-64: it comes back through memory.
CGRect sendForRect(id receiver, const char* selector, id argument)
{
#if defined(__x86_64__)
    return reinterpret_cast<CGRect (*)(id, SEL, id)>(objc_msgSend_stret)(receiver, sel_registerName(selector), argument);
#else
    return send<CGRect>(receiver, selector, argument);
#endif
}

id createWindowManager()
{
    Class managerClass = objc_getClass(kWindowManagerClass);
    if (!managerClass && dlopen(kFrameworkPath, RTLD_NOW))
        managerClass = objc_getClass(kWindowManagerClass);
    if (!managerClass) {
        NSLog(@"VantaWindowControl is not available");
        return nil;
    }
    return [[managerClass alloc] init];
}

bool logged(BOOL result, NSString* success, NSString* failure)
{
    NSLog(@"%@", result ? success : failure);
    return result;
}

} // namespace

id MacOS2WindowControlBrigde::g_windowManager = nil;
NSArray* MacOS2WindowControlBrigde::g_windowList = nil;
QList<TovWindowControl::WindowsInfo> MacOS2WindowControlBrigde::g_widowsInfoList;

QList<TovWindowControl::WindowsInfo> MacOS2WindowControlBrigde::getAllWindowInfos()
{
    g_widowsInfoList.clear();
    g_windowList = nil;
    if (!g_windowManager)
        g_windowManager = createWindowManager();
    NSArray* windows = send<NSArray*>(g_windowManager, "getWindows");
    NSMutableArray* kept = [NSMutableArray array];
    for (NSUInteger i = 0; i < windows.count; ++i) {
        id window = windows[i];
        NSString* title = send<NSString*>(g_windowManager, "getTitleWithWindow:", window);
        NSString* process = send<NSString*>(g_windowManager, "getProcessNameWithWindow:", window);
        // The shared filter decides; the frame is asked for only for windows it keeps.
        auto record = WindowRecordFilter::toRecord(QString::fromNSString(title), QString::fromNSString(process), QRectF());
        if (!record)
            continue;
        const CGRect frame = sendForRect(g_windowManager, "getWindowCurrentRectWithWindow:", window);
        record->rect = WindowRecordFilter::toRect(QRectF::fromCGRect(frame));
        g_widowsInfoList.append(*record);
        [kept addObject:window];
    }
    g_windowList = kept;
    return g_widowsInfoList;
}

// Callers pass indexes of the last listing; anything else counts as a failure.
id MacOS2WindowControlBrigde::windowAt(int index)
{
    if (index < 0 || NSUInteger(index) >= g_windowList.count)
        return nil;
    return g_windowList[NSUInteger(index)];
}

bool MacOS2WindowControlBrigde::setTargetWindowSize(int index, const QSize& size)
{
    id window = windowAt(index);
    const BOOL done = window && send<BOOL>(g_windowManager, "setWindowSizeWithWindow:size:", window, size.toCGSize());
    if (done)
        NSLog(@"set size success![%d] size = [%f,%f]", index, double(size.width()), double(size.height()));
    else
        NSLog(@"set size fail");
    return done;
}

bool MacOS2WindowControlBrigde::setTargetWindowLeftTopPosition(int index, const QPoint& position)
{
    id window = windowAt(index);
    const BOOL done = window && send<BOOL>(g_windowManager, "setWindowPosWithWindow:pos:", window,
                                           position.toCGPoint());
    if (done)
        NSLog(@"set position success![%d] size = [%f,%f]", index, double(position.x()), double(position.y()));
    else
        NSLog(@"set position fail");
    return done;
}

bool MacOS2WindowControlBrigde::closeTargetWindow(int index)
{
    id window = windowAt(index);
    return logged(window && send<BOOL>(g_windowManager, "closeWithWindow:", window), @"close success", @"close fail");
}

bool MacOS2WindowControlBrigde::maximunTargetWindow(int index)
{
    id window = windowAt(index);
    return logged(window && send<BOOL>(g_windowManager, "setFullScreenWithWindow:", window), @"setFullScreen success",
                  @"setFullScreen fail");
}

bool MacOS2WindowControlBrigde::minimunTargetWindow(int index)
{
    id window = windowAt(index);
    return logged(window && send<BOOL>(g_windowManager, "setMinimizedWithWindow:", window), @"setMinimize success",
                  @"setMinimize fail");
}
