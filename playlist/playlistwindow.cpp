#include "playlist/playlistwindow.h"

#include "common/plaintext.h"
#include "common/twips.h"
#include "controls/commondialog.h"
#include "controls/face.h"
#include "controls/filedrop.h"
#include "controls/glyphlabel.h"
#include "controls/modbrowsefolder.h"
#include "controls/picslider.h"
#include "controls/pointer.h"
#include "controls/qtfiledialogdriver.h"
#include "controls/screentwips.h"
#include "engine/mediagate.h"
#include "platform/alwaysontop.h"
#include "playlist/displayname.h"
#include "playlist/folderscan.h"
#include "playlist/orvformat.h"
#include "window/windowmover.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTreeView>

namespace {

// Client size of the window and the bottom row of buttons, in twips.
constexpr int clientWidth = 7560;
constexpr int clientHeight = 4110;

struct BottomButton
{
    const char* name;
    const char* caption;
    const char* toolTip;
    int left;
    // What a screen reader says for the caption.
    const char* spoken;
};

constexpr BottomButton bottomRow[] = {
    {"Command4", "Save", "Save Playlist", 0, "Save"},
    {"Command3", "Clear", "Clear Playlist", 660, "Clear"},
    {"Command2", "<", "Previous File", 3180, "Previous file"},
    {"Command1", ">", "Next File", 3840, "Next file"},
    {"Command5", "+DIR", "Add a Directory", 6120, "Add folder"},
    {"Command6", "+FILE", "Add a File", 6780, "Add file"},
};

} // namespace

PlaylistWindow::PlaylistWindow(Playlist& playlist, std::unique_ptr<FileDialogDriver> dialogs,
                               QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_commonDialog(std::make_unique<CommonDialog>(
          dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogDriver>(this))),
      m_playlist(playlist), m_listview1(new QTreeView(this)), m_picVScroll1(new picSlider(this)),
      m_label1(new QLabel(QStringLiteral("ORV Playlist:"), this)),
      m_lbltotalfiles(new QLabel(QStringLiteral("0"), this))
{
    setObjectName(QStringLiteral("formPLS"));
    setWindowTitle(QStringLiteral("ORV Playlist"));
    Face::paint(*this, Face::dark, Qt::white);

    m_label1->setObjectName(QStringLiteral("Label1"));
    // It shows file names, which may look like markup.
    m_label1->setTextFormat(Qt::PlainText);
    m_label1->setAlignment(Qt::AlignCenter);
    m_label1->setFont(Face::captionFont(this));
    m_lbltotalfiles->setObjectName(QStringLiteral("lbltotalfiles"));
    m_lbltotalfiles->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lbltotalfiles->setFont(Face::countFont(this));

    m_listview1->setObjectName(QStringLiteral("listview1"));
    m_listview1->setRootIsDecorated(false);
    m_listview1->setItemsExpandable(false);
    // Uniform rows keep a view of many thousand entries quick to scroll.
    m_listview1->setUniformRowHeights(true);
    m_listview1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listview1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listview1->header()->setStretchLastSection(true);
    QPalette listPal = m_listview1->palette();
    listPal.setColor(QPalette::Base, QColor(0xe0, 0xe0, 0xe0));
    listPal.setColor(QPalette::Text, Qt::black);
    m_listview1->setPalette(listPal);

    auto* close = new GlyphLabel(QStringLiteral("Command7"), QStringLiteral("r"),
                                 QStringLiteral("Exit"), this);
    connect(close, &GlyphLabel::clicked, this, &QWidget::hide);
    connect(close, &GlyphLabel::mouseMoved, this, &Pointer::reset);
    // The title and the count bring the arrow back; the title also drags the window.
    for (QLabel* label : {m_label1, m_lbltotalfiles}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    auto* line1 = new QWidget(this);
    line1->setObjectName(QStringLiteral("Line1"));
    Face::paint(*line1, Qt::black);

    m_picVScroll1->setObjectName(QStringLiteral("PicVScroll1"));
    connect(&m_playlist, &Playlist::sliderMaxChanged, m_picVScroll1, &picSlider::setMax);
    connect(&m_playlist, &Playlist::sliderValueChanged, m_picVScroll1, &picSlider::setValue);
    connect(m_picVScroll1, &picSlider::Change, this, &PlaylistWindow::sliderChanged);
    connect(new FileDrop(*this), &FileDrop::dropped, this, &PlaylistWindow::addDropped);

    for (const BottomButton& b : bottomRow) {
        auto* glyph = new GlyphLabel(QString::fromLatin1(b.name), QString::fromLatin1(b.caption),
                                     QString::fromLatin1(b.toolTip), this);
        glyph->setAccessibleName(QString::fromLatin1(b.spoken));
    }
    const auto button = [this](const char* name) {
        return findChild<GlyphLabel*>(QString::fromLatin1(name));
    };
    connect(button("Command1"), &GlyphLabel::clicked, &m_playlist, &Playlist::nextFileClicked);
    connect(button("Command2"), &GlyphLabel::clicked, &m_playlist, &Playlist::previousFileClicked);
    connect(button("Command3"), &GlyphLabel::clicked, this, &PlaylistWindow::clearClicked);
    connect(button("Command4"), &GlyphLabel::clicked, this, &PlaylistWindow::saveClicked);
    connect(button("Command5"), &GlyphLabel::clicked, this, &PlaylistWindow::addFolderClicked);
    connect(button("Command6"), &GlyphLabel::clicked, this, &PlaylistWindow::addFileClicked);

    m_commonDialog->setFilter(MediaFilter);
    m_commonDialog->setDialogTitle(OpenDialogTitle);

    connect(&m_playlist, &Playlist::currentPathShown, this, &PlaylistWindow::showCurrentName);
    connect(&m_playlist, &Playlist::shownCountChanged, m_lbltotalfiles,
            [this](int count) { m_lbltotalfiles->setText(QString::number(count)); });
    connect(&m_playlist, &Playlist::selectedItemChanged, this, &PlaylistWindow::selectInView);
    connect(&m_playlist, &Playlist::ensureVisible, this, [this](int item) {
        if (m_listview1->model())
            m_listview1->scrollTo(m_playlist.index(item - 1));
    });
    connect(m_listview1, &QAbstractItemView::clicked, &m_playlist, &Playlist::entryClicked);
    connect(m_listview1, &QAbstractItemView::doubleClicked, &m_playlist, &Playlist::playSelected);

    placeControls();
    AlwaysOnTop::MakeTopmost(*this);
}

PlaylistWindow::~PlaylistWindow() = default;

void PlaylistWindow::showCurrentName(const QString& path)
{
    m_label1->setText(QStringLiteral("ORV Playlist: ") + Paths::nameAfterLastSeparator(path));
    m_label1->setToolTip(plainToolTip(m_label1->text()));
}

void PlaylistWindow::sliderChanged()
{
    // The entry after the one numbered Value comes into view; past the end, nothing.
    const int value = m_picVScroll1->Value();
    if (m_playlist.count() == 0 || m_playlist.count() < value)
        return;
    const QModelIndex after = m_playlist.index(value);
    if (after.isValid() && m_listview1->model())
        m_listview1->scrollTo(after);
}

bool PlaylistWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool mouse = event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseMove ||
                       event->type() == QEvent::MouseButtonDblClick;
    if (!mouse || (watched != m_label1 && watched != m_lbltotalfiles))
        return false;
    if (event->type() == QEvent::MouseMove && !Pointer::isDefault())
        Pointer::reset();
    if (watched == m_label1)
        titleMouse(static_cast<QMouseEvent&>(*event));
    return true;
}

void PlaylistWindow::titleMouse(const QMouseEvent& event)
{
    if (m_attached && m_attached())
        return;
    const QPoint at =
        WindowDrag::mouseTwips(*this, event.globalPosition(), m_label1->mapToGlobal(QPoint(0, 0)));
    if (event.type() == QEvent::MouseButtonPress && event.button() == Qt::LeftButton) {
        m_dragX = at.x();
        m_dragY = at.y();
    } else if (event.type() == QEvent::MouseMove && event.buttons() == Qt::LeftButton) {
        WindowDrag::follow(*this, QPoint(m_dragX, m_dragY), at);
    }
}

void PlaylistWindow::showEvent(QShowEvent* event)
{
    attachView();
    QWidget::showEvent(event);
}

void PlaylistWindow::attachView()
{
    if (m_listview1->model())
        return;
    m_listview1->setModel(&m_playlist);
    connect(m_listview1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_playlist.setSelectedItem(current.row() + 1);
            });
    const int selected = m_playlist.selectedItem();
    selectInView(selected);
    if (selected >= 1)
        m_listview1->scrollTo(m_playlist.index(selected - 1));
}

void PlaylistWindow::selectInView(int item)
{
    if (!m_listview1->selectionModel())
        return;
    if (item < 1) {
        m_listview1->selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_playlist.index(item - 1);
    m_listview1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void PlaylistWindow::placeControls()
{
    const double tpp = twipsPerPixel(this).x;
    const auto place = [tpp](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(Twips::toPixels(QRect(left, top, width, height), tpp, tpp));
    };
    setFixedSize(Twips::toPixels(clientWidth, tpp), Twips::toPixels(clientHeight, tpp));
    place(m_label1, 480, 0, 6525, 195);
    place(m_lbltotalfiles, 7020, 0, 195, 195);
    place(findChild<QWidget*>(QStringLiteral("Command7")), 7320, 0, 255, 195);
    // The entry view reaches past the window's right edge, so its own scroll bar is out of
    // sight and the slider over its edge is the only one.
    place(m_listview1, 0, 180, 8535, 3675);
    place(m_picVScroll1, 7440, 225, 120, 3615);
    m_picVScroll1->raise();
    place(findChild<QWidget*>(QStringLiteral("Line1")), 5700, 0, 300, 15);
    for (const BottomButton& button : bottomRow)
        place(findChild<QWidget*>(QString::fromLatin1(button.name)), button.left, 3840, 675, 255);
}

void PlaylistWindow::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvella"), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void PlaylistWindow::add()
{
    if (m_playlist.count() == 0)
        ListWasEmpty = true;
    AddFromDialog();
}

void PlaylistWindow::addFileClicked()
{
    addAsFileButton(&PlaylistWindow::AddFromDialog);
}

void PlaylistWindow::addAsFileButton(void (PlaylistWindow::*add)())
{
    if (m_playlist.count() == 0)
        ListWasEmpty = true;
    (this->*add)();
    if (ListWasEmpty) {
        Go();
        ListWasEmpty = false;
    }
}

void PlaylistWindow::AddFromDialog()
{
    m_commonDialog->setFilter(MediaFilter);
    m_commonDialog->setDialogTitle(OpenDialogTitle);
    m_commonDialog->ShowOpen();
    MoviePath = m_commonDialog->filename();
    addChosen();
}

void PlaylistWindow::addChosen()
{
    if (!MoviePath.isEmpty()) {
        if (OrvFormat::isPlaylistPath(MoviePath)) {
            PullFromORV(MoviePath);
            m_playlist.refreshCount();
            if (!ListWasEmpty) {
                Go();
                ListWasEmpty = false;
                return;
            }
            firstGo();
        } else {
            m_playlist.append(MoviePath, Paths::nameAfterLastSeparator(MoviePath));
            m_playlist.refreshCount();
            ListWasEmpty = false;
            Go();
        }
    }
    m_playlist.refreshCount();
}

void PlaylistWindow::addFolderClicked()
{
    MoviePath = modBrowseFolder::BrowseFolder(m_commonDialog->driver());
    addChosenFolder();
}

void PlaylistWindow::addChosenFolder()
{
    if (MoviePath.isEmpty())
        return;
    const FolderScan::Found found = FolderScan::scan(MoviePath, m_playlist.room());
    if (found.entries.isEmpty() && !found.cut)
        emit refused(QStringLiteral("No media files in ") + MediaGate::printable(MoviePath));
    m_playlist.append(found.entries);
    if (found.cut)
        emit refused(QStringLiteral("The playlist is full (%1 entries): the rest of %2 is left "
                                    "out.")
                         .arg(Playlist::MaxEntries)
                         .arg(MediaGate::printable(MoviePath)));
    if (Playlist::severalEntries(m_playlist.count()))
        m_playlist.setSliderMax(m_playlist.count());
    Go();
}

void PlaylistWindow::addDropped(const QStringList& paths)
{
    // Each dropped path is added as the add buttons add what their dialogs return.
    for (const QString& path : paths) {
        MoviePath = path;
        if (QFileInfo(path).isDir()) {
            addChosenFolder();
            continue;
        }
        addAsFileButton(&PlaylistWindow::addChosen);
    }
}

void PlaylistWindow::WriteToORV(const QString& path)
{
    const QString error = OrvFormat::save(path, m_playlist.paths());
    if (!error.isEmpty())
        showMessage(QStringLiteral("There was an Error writing To the playlist: ") + error);
}

void PlaylistWindow::PullFromORV(const QString& path)
{
    // Relative entries belong beside the playlist, wherever the player was started.
    const QString folder = QFileInfo(path).absolutePath();
    if (m_playlist.room() == 0) {
        emit refused(QStringLiteral("The playlist is full (%1 entries): %2 is not read.")
                         .arg(Playlist::MaxEntries)
                         .arg(MediaGate::printable(path)));
        return;
    }
    PathStore paths;
    const OrvFormat::PathsTaken read = OrvFormat::readPathsInto(path, folder, paths);
    if (!read.refusal.isEmpty()) {
        emit refused(read.refusal);
        return;
    }
    if (!read.notice.isEmpty())
        emit refused(read.notice);
    const bool complete = read.complete;
    m_playlist.append(std::move(paths));
    // A file cut off inside an entry keeps what was read but leaves the count as it was.
    if (!complete)
        return;
    m_playlist.refreshCount();
}

void PlaylistWindow::PullCosmeticsORV(const QString& path)
{
    const OrvFormat::NamesRead read = OrvFormat::readNames(path);
    QList<PlaylistEntry> entries;
    for (const QString& name : read.names)
        entries.append({QString(), name});
    // Rows without a file: the entry view shows the names, nothing plays from them.
    m_playlist.append(entries);
    if (!read.error.isEmpty())
        showMessage(QStringLiteral("There was an Error reading from the playlist: ") + read.error);
}

void PlaylistWindow::saveClicked()
{
    m_commonDialog->setFilter(PlaylistFilter);
    // A name typed without extension becomes a playlist file.
    m_commonDialog->setDefaultExt(QStringLiteral("orv"));
    m_commonDialog->ShowSave();
    const QString name = m_commonDialog->filename();
    if (name.isEmpty())
        return;
    WriteToORV(name);
}

void PlaylistWindow::clearClicked()
{
    m_playlist.clear();
}
