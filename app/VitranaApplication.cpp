#include "app/VitranaApplication.h"
#include "app/MessageBox.h"
#include "db/DatabaseError.h"

VitranaApplication::VitranaApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("vitrana"));
    setApplicationDisplayName(QStringLiteral("Vitrana"));
    setApplicationVersion(QStringLiteral("1.0"));
}

bool VitranaApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DatabaseError &e) {
        showError(e.text());
    } catch (const std::exception &e) {
        showError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void VitranaApplication::showError(const QString &text)
{
    MessageBox::show(activeWindow(), text, tr("Chyba"), QMessageBox::Ok, QMessageBox::Critical);
}
