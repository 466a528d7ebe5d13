#include "common/gui/WindowPlaces.h"

#include "common/core/Paths.h"
#include "common/core/Platform.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace lumen {

namespace {

const char *const kRestored = "lumenPlaceRestored";

/** Watches every window: restores its place when it is first shown, stores it when it closes. */
class WindowPlaceKeeper : public QObject
{
public:
    WindowPlaceKeeper(QApplication &app, QString file) : QObject(&app), m_file(std::move(file))
    {
        // Quitting may destroy windows without closing them.
        connect(&app, &QCoreApplication::aboutToQuit, this, [this] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                if (isPlaced(*window) && window->isVisible())
                    store(*window);
            }
        });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::Close)
            return false;
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || !isPlaced(*window))
            return false;
        if (type == QEvent::Close) {
            if (window->isVisible() && window->property(kRestored).toBool())
                store(*window);
        } else if (!window->property(kRestored).toBool()) {
            window->setProperty(kRestored, true);
            const QByteArray place = settings().value(key(*window)).toByteArray();
            if (!place.isEmpty())
                window->restoreGeometry(place);
            bringOnScreen(*window);
        }
        return false;
    }

private:
    /** Windows of their own; dialogs, tool panels and popups open where their owner puts them. */
    static bool isPlaced(const QWidget &widget)
    {
        const Qt::WindowType type = widget.windowType();
        return widget.isWindow() && (type == Qt::Window || type == Qt::Widget);
    }

    // A place kept on a screen that is gone, or larger than this one, would
    // open the window partly or wholly out of reach.
    static void bringOnScreen(QWidget &window)
    {
        if (window.isMaximized() || window.isFullScreen())
            return;
        const QRect frame = window.frameGeometry();
        QScreen *screen = QGuiApplication::screenAt(frame.center());
        if (!screen)
            screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        const QRect fitted = fitOnScreen(frame, screen->availableGeometry());
        if (fitted == frame)
            return;
        const QSize frameExtra = frame.size() - window.geometry().size();
        window.resize((fitted.size() - frameExtra).expandedTo(window.minimumSize()));
        window.move(fitted.topLeft());
    }

    void store(const QWidget &window) const
    {
        QSettings places = settings();
        places.setValue(key(window), window.saveGeometry());
    }

    QSettings settings() const { return QSettings(m_file, QSettings::IniFormat); }

    static QString key(const QWidget &window)
    {
        QString name = QString::fromLatin1(window.metaObject()->className());
        return name.replace(QStringLiteral("::"), QStringLiteral(".")) + QStringLiteral("/place");
    }

    QString m_file;
};

} // namespace

QRect fitOnScreen(const QRect &frame, const QRect &available)
{
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(),
                               available.left() + available.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), available.top(),
                              available.top() + available.height() - fitted.height()));
    return fitted;
}

QString windowPlacesFile()
{
    return programFile(QStringLiteral("lumen-windows.ini"));
}

void rememberWindowPlaces(QApplication &app)
{
    if (hasDisplay())
        rememberWindowPlaces(app, windowPlacesFile());
}

QObject *rememberWindowPlaces(QApplication &app, const QString &file)
{
    auto *keeper = new WindowPlaceKeeper(app, file);
    app.installEventFilter(keeper);
    return keeper;
}

} // namespace lumen
