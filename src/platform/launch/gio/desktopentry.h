#pragma once

#include <QIcon>
#include <QString>
#include <memory>

typedef struct _GDesktopAppInfo GDesktopAppInfo;

// One XDG desktop entry as GIO reads it: its name, its icon and its launch, with the
// Exec field codes expanded and Terminal=true honoured by GIO. Owns its GIO object.
class DesktopEntry
{
public:
    // Null when GIO does not take the file as an application entry (no entry, another
    // Type, a TryExec program that is not installed).
    static std::unique_ptr<DesktopEntry> load(const QString& path);
    ~DesktopEntry();

    QString name() const;
    // Hidden=true: the user deleted the application.
    bool isHidden() const;
    // The Icon key through the icon theme, or the image file it names; null when the
    // entry has no icon or the theme has none of its names.
    QIcon icon() const;
    // Starts the application without files; false with GIO's reason when it cannot.
    bool launch(QString* error) const;

private:
    explicit DesktopEntry(GDesktopAppInfo* info);
    Q_DISABLE_COPY(DesktopEntry)

    GDesktopAppInfo* m_info;
};
