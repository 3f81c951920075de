#include "dialogs/image_dlg.h"

#include "core/ui_seam.h"
#include "dialogs/html/image_size.h"
#include "dialogs/html/sample_pictures.h"
#include "document/relative_reference.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"
#include "widgets/spin_edit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// More than any JPEG needs before its frame header; a larger file is read
// only this far.
constexpr qint64 kMaxImageBytes = 64 * 1024 * 1024;

QComboBox* unitBox(const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItem(QStringLiteral("ピクセル"));
    box->addItem(QStringLiteral("% (ウィンドウに対して)"));
    return box;
}

using DialogLayout::buddyLabel;
using DialogLayout::spinEdit;

} // namespace

CImageDlg::CImageDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("イメージの設定"));

    // Built in the order the focus travels: file name, description, size,
    // border, text position, spacing.
    QWidget* sourceRows = buildSourceRows();
    QGroupBox* sizeGroup = buildSizeGroup();
    QWidget* borderRow = buildBorderRow();
    QGroupBox* alignmentGroup = buildAlignmentGroup();
    QGroupBox* spacingGroup = buildSpacingGroup();

    auto* left = new QVBoxLayout;
    left->addWidget(sizeGroup);
    left->addWidget(borderRow);
    left->addWidget(spacingGroup);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(alignmentGroup);
    right->addWidget(buildPreviewGroup());
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sourceRows);
    layout->addLayout(columns);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_source->LoadHistory(QString::fromLatin1(HistorySection::Image));
    m_alignment->button(ImageTagChoices::None)->setChecked(true);
    updateAlignment();
}

QWidget* CImageDlg::buildSourceRows()
{
    auto* rows = new QWidget(this);
    m_source = new CHistoryComboBox(this);
    m_source->setObjectName(QStringLiteral("source"));
    auto* browse = new QPushButton(QStringLiteral("..."), rows);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    connect(browse, &QPushButton::clicked, this, &CImageDlg::browse);
    m_alternativeText = new QLineEdit(rows);
    m_alternativeText->setObjectName(QStringLiteral("alternativeText"));

    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(buddyLabel(QStringLiteral("ファイル名(&I) :"), m_source, rows), 0, 0);
    grid->addWidget(m_source, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(buddyLabel(QStringLiteral("説明(&N) :"), m_alternativeText, rows), 1, 0);
    grid->addWidget(m_alternativeText, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    m_source->setMinimumWidth(320);
    return rows;
}

QGroupBox* CImageDlg::buildSizeGroup()
{
    auto* group = new QGroupBox(QStringLiteral("イメージのサイズ"), this);
    m_width = spinEdit(QStringLiteral("width"), 1, 1999, group);
    m_widthUnit = unitBox(QStringLiteral("widthUnit"), group);
    m_height = spinEdit(QStringLiteral("height"), 1, 1999, group);
    m_heightUnit = unitBox(QStringLiteral("heightUnit"), group);
    auto* readSize = new QPushButton(QStringLiteral("ファイルから自動取得(&D)"), group);
    readSize->setObjectName(QStringLiteral("readSize"));
    readSize->setAutoDefault(false);
    connect(readSize, &QPushButton::clicked, this, &CImageDlg::readSizeFromFile);

    auto* grid = new QGridLayout(group);
    grid->addWidget(buddyLabel(QStringLiteral("幅(&W) :"), m_width, group), 0, 0);
    grid->addWidget(m_width, 0, 1);
    grid->addWidget(m_widthUnit, 0, 2);
    grid->addWidget(buddyLabel(QStringLiteral("高さ(&H) :"), m_height, group), 1, 0);
    grid->addWidget(m_height, 1, 1);
    grid->addWidget(m_heightUnit, 1, 2);
    grid->addWidget(readSize, 2, 0, 1, 3, Qt::AlignRight);
    return group;
}

QWidget* CImageDlg::buildBorderRow()
{
    auto* row = new QWidget(this);
    m_border = spinEdit(QStringLiteral("border"), 0, 999, row);
    auto* note = new QLabel(QStringLiteral("(画像にリンクを設定したときのみ有効です。)"), row);
    auto* line = new QHBoxLayout;
    line->addWidget(buddyLabel(QStringLiteral("枠の太さ(&A) :"), m_border, row));
    line->addWidget(m_border);
    line->addStretch();
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(10, 4, 0, 4);
    layout->addLayout(line);
    layout->addWidget(note);
    return row;
}

QGroupBox* CImageDlg::buildAlignmentGroup()
{
    auto* group = new QGroupBox(QStringLiteral("テキストの位置"), this);
    m_alignment = new QButtonGroup(this);
    static const char* const texts[] = {"なし(&Z)", "上部(&T)",         "中央(&C)",
                                        "下部(&U)", "右に回り込み(&R)", "左に回り込み(&L)"};
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < 6; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), group);
        button->setObjectName(QStringLiteral("align%1").arg(i));
        m_alignment->addButton(button, i);
        grid->addWidget(button, i % 4, i / 4);
    }
    connect(m_alignment, &QButtonGroup::idClicked, this, &CImageDlg::updateAlignment);
    return group;
}

QGroupBox* CImageDlg::buildSpacingGroup()
{
    m_spacingGroup = new QGroupBox(QStringLiteral("余白"), this);
    m_spacingGroup->setObjectName(QStringLiteral("spacingGroup"));
    m_verticalSpace = spinEdit(QStringLiteral("verticalSpace"), 0, 999, m_spacingGroup);
    m_horizontalSpace = spinEdit(QStringLiteral("horizontalSpace"), 0, 999, m_spacingGroup);
    auto* grid = new QGridLayout(m_spacingGroup);
    grid->addWidget(buddyLabel(QStringLiteral("上下(&X) :"), m_verticalSpace, m_spacingGroup), 0,
                    0);
    grid->addWidget(m_verticalSpace, 0, 1);
    grid->addWidget(buddyLabel(QStringLiteral("左右(&Y) :"), m_horizontalSpace, m_spacingGroup), 0,
                    2);
    grid->addWidget(m_horizontalSpace, 0, 3);
    return m_spacingGroup;
}

QGroupBox* CImageDlg::buildPreviewGroup()
{
    auto* group = new QGroupBox(QStringLiteral("プレビュー"), this);
    m_preview = new QLabel(group);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_preview, 0, Qt::AlignCenter);
    return group;
}

ImageTagChoices CImageDlg::choices() const
{
    ImageTagChoices c;
    c.source = m_source->currentText();
    c.alternativeText = m_alternativeText->text();
    c.width = m_width->text();
    c.widthUnit = m_widthUnit->currentIndex();
    c.height = m_height->text();
    c.heightUnit = m_heightUnit->currentIndex();
    c.border = m_border->text();
    c.alignment = m_alignment->checkedId();
    c.verticalSpace = m_verticalSpace->text();
    c.horizontalSpace = m_horizontalSpace->text();
    return c;
}

void CImageDlg::updateAlignment()
{
    const int alignment = m_alignment->checkedId();
    m_preview->setPixmap(SamplePictures::imageAlignment(alignment));
    m_spacingGroup->setEnabled(alignment == ImageTagChoices::FlowRight ||
                               alignment == ImageTagChoices::FlowLeft);
}

void CImageDlg::browse()
{
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("画像ファイルを選択");
    request.filter = QStringLiteral("画像ファイル (*.gif *.jpg *.jpeg);;"
                                    "GIF画像ファイル (*.gif);;"
                                    "JPEG画像ファイル (*.jpg *.jpeg);;"
                                    "すべてのファイル (*)");
    request.directory = m_documentFolder;
    const QString path = UiSeam::fileDialog(this, request);
    if (path.isEmpty())
        return;
    const QString fileName = QFileInfo(path).fileName();
    QString source = relativeReference(m_documentFolder, path);
    if (source.isEmpty())
        source = fileName;
    m_browsedPath = path;
    m_browsedSource = source;
    m_source->setEditText(source);
    m_alternativeText->setText(fileName);
    readSizeFromFile();
}

QString CImageDlg::imageFilePath(const QString& documentFolder, const QString& source)
{
    // A reference from the site's root ("/images/a.gif") names a file beside
    // the document like any other; a full path of this machine is read as it
    // is when nothing of that name lies there.
    const QString beside = documentFolder + source;
    if (QDir::isAbsolutePath(source) && !QFileInfo::exists(beside))
        return source;
    return beside;
}

void CImageDlg::readSizeFromFile()
{
    const QString source = m_source->currentText();
    const QString path = !m_browsedPath.isEmpty() && source == m_browsedSource
                             ? m_browsedPath
                             : imageFilePath(m_documentFolder, source);
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        UiSeam::messageBox(this, QStringLiteral("%1 が見つかりません。").arg(path),
                           QMessageBox::Warning);
        return;
    }
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        UiSeam::messageBox(this, QStringLiteral("%1 を開けません。").arg(path),
                           QMessageBox::Warning);
        return;
    }
    const QByteArray bytes = file.read(kMaxImageBytes);
    if (file.error() != QFileDevice::NoError) {
        UiSeam::messageBox(this, QStringLiteral("%1 を読み込めません。").arg(path),
                           QMessageBox::Warning);
        return;
    }

    const ImageSize::Reading reading = ImageSize::read(bytes);
    setUnitsToPixels();
    if (reading.format == ImageSize::Format::Unsupported) {
        UiSeam::messageBox(this, QStringLiteral("この形式のファイルはサポートしていません。"),
                           QMessageBox::Warning);
        return;
    }
    if (!reading.hasSize) {
        UiSeam::messageBox(this, QStringLiteral("このファイルから画像のサイズを読み取れません。"),
                           QMessageBox::Warning);
        return;
    }
    m_width->setText(QString::number(reading.width));
    m_height->setText(QString::number(reading.height));
}

void CImageDlg::setUnitsToPixels()
{
    m_widthUnit->setCurrentIndex(ImageTagChoices::Pixels);
    m_heightUnit->setCurrentIndex(ImageTagChoices::Pixels);
}

void CImageDlg::accept()
{
    m_result = buildImageTag(choices());
    QDialog::accept();
}
