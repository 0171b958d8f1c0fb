#include "desktop/QtUi.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tarl {

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget* QtUi::owner() const {
    // A box belongs to the window the person is working in (the search window, the scan
    // window), so it comes up over that one and that one stays in front once it is answered.
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return parent_;
}

MsgAnswer QtUi::message(const QString& text, const QString& title, MsgIcon icon,
                        MsgButtons buttons) {
    // Texts may break lines the Windows way ("\r", "\r\n"); the box shows them as breaks.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n');
    QMessageBox box(qtIcon(icon), title, shown,
                    buttons == MsgButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                    : QMessageBox::Ok,
                    owner());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(buttons == MsgButtons::OkCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

std::optional<QString> QtUi::input(const QString& prompt, const QString& title,
                                   const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(owner(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtUi::qtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        const QString description = parts[i];
        out << (description.contains(pattern) ? description : description + " (" + pattern + ")");
    }
    return out.join(QLatin1String(";;"));
}

QString QtUi::openFile(const QString& title, const QString& defaultExtension,
                       const QString& filter) {
    QFileDialog dialog(owner(), title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist yet is accepted: callers may create it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(qtFilter(filter));
    QString suffix = defaultExtension;
    if (suffix.startsWith('.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtUi::browseForFolder(const QString& title) {
    QString folder = QFileDialog::getExistingDirectory(owner(), title);
    if (!folder.isEmpty() && !folder.endsWith('/'))
        folder += '/';
    return folder;
}

} // namespace tarl
