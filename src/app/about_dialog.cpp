#include "app/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Marquill のバージョン情報"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Marquill"), this);
    name->setObjectName(QStringLiteral("productName"));
    auto* version = new QLabel(QStringLiteral("Version 2.16"), this);
    version->setObjectName(QStringLiteral("version"));
    // The notices the licence asks an interactive program to show.
    auto* licence = new QLabel(
        QStringLiteral("Copyright © 2026 The Marquill developers<br>"
                       "このプログラムはフリーソフトウェアです。GNU 一般公衆利用許諾書 (GPL) "
                       "バージョン 3 またはそれ以降のバージョンの条件の下で再配布・改変できます。"
                       "このプログラムは無保証です。"
                       "詳しくは <a href=\"https://www.gnu.org/licenses/gpl-3.0.html\">"
                       "GNU General Public License</a> をご覧ください。"),
        this);
    licence->setObjectName(QStringLiteral("licence"));
    licence->setWordWrap(true);
    // About 26 Japanese characters to a line.
    licence->setMinimumWidth(licence->fontMetrics().height() * 26);
    licence->setOpenExternalLinks(true);
    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addSpacing(6);
    texts->addWidget(licence);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
