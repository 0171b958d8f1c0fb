#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarl {

struct AppState;

// "Properties": shows, for a volume node of the library tree, the volume's folder, its label
// (none for a hard-disc volume) and its number of lists as the catalog stores them. A disc is
// found by its label, as its node is keyed. It changes nothing; OK and Cancel both close it.
// Other nodes, and a volume the catalog does not hold, show the captions as they open.
class PropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // `tag` and `key` are those of the library tree's clicked node ("" for none).
    PropertiesDialog(AppState& state, const QString& tag, const QString& key,
                     QWidget* parent = nullptr);

    // Fills the values from the catalog.
    void load();
    // Runs load, then the dialog modally.
    int exec() override;

    std::array<QLabel*, 6> captionLabels{};
    std::array<QLabel*, 3> valueLabels{};
    QComboBox* styleBox = nullptr;
    QLineEdit* commentEdit = nullptr;
    QLineEdit* dateEdit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    AppState& state_;
    QString tag_;
    QString key_;
};

} // namespace tarl
