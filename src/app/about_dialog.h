#pragma once

#include <QDialog>

// The about box: product name, version and an OK button.
class CAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
