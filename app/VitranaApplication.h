#pragma once

#include <QApplication>
#include <QTranslator>

/**
 * The application object. Its notify() is the last-resort net for errors
 * that leave an event handler: it shows the error's text and the
 * application goes on (an exception must not cross Qt's event loop).
 */
class VitranaApplication : public QApplication
{
    Q_OBJECT
public:
    VitranaApplication(int &argc, char **argv);

    /**
     * Installs Qt's own translations for the locale (standard buttons,
     * calendars, context menus); false when the system has none for it.
     */
    bool loadQtTranslations(const QLocale &locale);

    bool notify(QObject *receiver, QEvent *event) override;

    /** Shows an error in the application's error box. */
    static void showError(const QString &text);

    /**
     * SIGTERM, SIGINT and SIGHUP end the event loop normally, so the desk
     * closes its connection and leaves the private server as on a normal exit.
     */
    void quitOnTerminationSignals();

private:
    QTranslator m_qtTranslator;
};
