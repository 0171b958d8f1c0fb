#pragma once

#include <QDialog>

class QPushButton;

namespace tarl {

// Help > About: the picture, the version label and "CLOSE", shown modally.
class About : public QDialog {
    Q_OBJECT
public:
    explicit About(QWidget* parent = nullptr);

    QPushButton* closeButton() const { return close_; }

private:
    QPushButton* close_;
};

} // namespace tarl
