#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

// "ウィンドウの一覧": every open document window by its title, for when the
// window menu cannot list them all. The caller passes the titles and the
// active window's index, and after OK reads the chosen index.
class CWindowListDlg : public QDialog
{
    Q_OBJECT

public:
    CWindowListDlg(const QStringList& titles, int current, QWidget* parent = nullptr);

    // The window chosen on OK (-1 when the list is empty).
    int chosen() const { return m_chosen; }
    QListWidget* list() const { return m_list; }

    void accept() override;

private:
    QListWidget* m_list = nullptr;
    int m_chosen = -1;
};
