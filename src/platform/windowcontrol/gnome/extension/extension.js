// Window control for the Vanta deck: GNOME Shell lets no other program list or move
// windows, so this extension does it for them over D-Bus, on the shell's own connection
// (name org.gnome.Shell, object /com/corvane/VantaWindows). Frames are outer frames in
// the stage's coordinates. Each call answers whether the window was there.
'use strict';

const { Gio, GLib, Meta } = imports.gi;
const Main = imports.ui.main;

const OBJECT_PATH = '/com/corvane/VantaWindows';
const INTERFACE = `<node>
  <interface name="com.corvane.VantaWindows">
    <method name="List"><arg type="s" direction="out" name="windows"/></method>
    <method name="Focused"><arg type="s" direction="out" name="window"/></method>
    <method name="Place">
      <arg type="t" direction="in" name="id"/>
      <arg type="i" direction="in" name="x"/><arg type="i" direction="in" name="y"/>
      <arg type="i" direction="in" name="width"/><arg type="i" direction="in" name="height"/>
      <arg type="u" direction="in" name="timeout"/>
      <arg type="s" direction="out" name="window"/>
    </method>
    <method name="Minimize"><arg type="t" direction="in" name="id"/><arg type="b" direction="out" name="done"/></method>
    <method name="Maximize"><arg type="t" direction="in" name="id"/><arg type="b" direction="out" name="done"/></method>
    <method name="Close"><arg type="t" direction="in" name="id"/><arg type="b" direction="out" name="done"/></method>
    <method name="Activate"><arg type="t" direction="in" name="id"/><arg type="b" direction="out" name="done"/></method>
    <signal name="FocusChanged"><arg type="s" name="window"/></signal>
  </interface>
</node>`;

// Windows a user would call windows: no panels, menus or tooltips.
function userWindows() {
    return global.get_window_actors()
        .map(actor => actor.get_meta_window())
        .filter(w => w && w.get_window_type() === Meta.WindowType.NORMAL && !w.is_override_redirect());
}

function describe(w) {
    if (!w)
        return {};
    const frame = w.get_frame_rect();
    return {
        id: w.get_id(),
        title: w.get_title() || '',
        pid: w.get_pid(),
        appId: w.get_gtk_application_id() || w.get_sandboxed_app_id() || w.get_wm_class() || '',
        x: frame.x, y: frame.y, width: frame.width, height: frame.height,
        minimized: w.minimized,
        maximized: w.get_maximized() === Meta.MaximizeFlags.BOTH,
        fullscreen: w.is_fullscreen(),
    };
}

// Out of fullscreen and maximised state first: mutter keeps such a window's frame.
function place(w, x, y, width, height) {
    if (w.is_fullscreen())
        w.unmake_fullscreen();
    if (w.get_maximized())
        w.unmaximize(Meta.MaximizeFlags.BOTH);
    w.move_resize_frame(true, x, y, width, height);
}

class WindowService {
    constructor() {
        this._focusId = 0;
        this._titleId = 0;
        this._titleWindow = null;
    }

    start() {
        this._dbus = Gio.DBusExportedObject.wrapJSObject(INTERFACE, this);
        this._dbus.export(Gio.DBus.session, OBJECT_PATH);
        this._focusId = global.display.connect('notify::focus-window', () => this._onFocus());
        this._onFocus();
    }

    stop() {
        if (this._focusId)
            global.display.disconnect(this._focusId);
        this._focusId = 0;
        this._followTitle(null);
        this._dbus.unexport();
        this._dbus = null;
    }

    _find(id) {
        return userWindows().find(w => w.get_id() === id) || null;
    }

    _act(id, action) {
        const w = this._find(id);
        if (!w)
            return false;
        action(w);
        return true;
    }

    List() {
        return JSON.stringify(userWindows().map(describe));
    }

    Focused() {
        return JSON.stringify(describe(global.display.get_focus_window()));
    }

    // Moves and resizes the window and answers once the frame is there, or after timeout ms with the
    // frame it has then (mutter applies a size once the program has drawn at it): the
    // window as List describes it, '{}' when it is not there or goes away meanwhile.
    PlaceAsync([id, x, y, width, height, timeout], invocation) {
        const w = this._find(id);
        if (!w) {
            invocation.return_value(new GLib.Variant('(s)', ['{}']));
            return;
        }
        const reached = () => {
            const f = w.get_frame_rect();
            return f.x === x && f.y === y && f.width === width && f.height === height;
        };
        const signals = [];
        let timer = 0;
        let answered = false;
        const answer = () => {
            if (answered)
                return;
            answered = true;
            signals.forEach(s => w.disconnect(s));
            if (timer)
                GLib.source_remove(timer);
            invocation.return_value(new GLib.Variant('(s)', [JSON.stringify(describe(this._find(id)))]));
        };
        for (const change of ['size-changed', 'position-changed'])
            signals.push(w.connect(change, () => reached() && answer()));
        signals.push(w.connect('unmanaged', answer));
        timer = GLib.timeout_add(GLib.PRIORITY_DEFAULT, timeout, () => {
            timer = 0;
            answer();
            return GLib.SOURCE_REMOVE;
        });
        place(w, x, y, width, height);
        if (reached())
            answer();
    }

    Minimize(id) {
        return this._act(id, w => w.minimize());
    }

    Maximize(id) {
        return this._act(id, w => w.maximize(Meta.MaximizeFlags.BOTH));
    }

    Close(id) {
        return this._act(id, w => w.delete(global.get_current_time()));
    }

    // As the shell itself activates: the overview (where a fresh shell starts) closes too.
    Activate(id) {
        return this._act(id, w => Main.activateWindow(w, global.get_current_time()));
    }

    // The focused window, and its title while it has the focus.
    _onFocus() {
        const w = global.display.get_focus_window();
        this._followTitle(w);
        this._emitFocus();
    }

    _followTitle(w) {
        if (this._titleWindow && this._titleId)
            this._titleWindow.disconnect(this._titleId);
        this._titleWindow = w;
        this._titleId = w ? w.connect('notify::title', () => this._emitFocus()) : 0;
    }

    _emitFocus() {
        if (this._dbus)
            this._dbus.emit_signal('FocusChanged', new GLib.Variant('(s)', [this.Focused()]));
    }
}

class Extension {
    enable() {
        this._service = new WindowService();
        this._service.start();
    }

    disable() {
        this._service.stop();
        this._service = null;
    }
}

function init() {
    return new Extension();
}
