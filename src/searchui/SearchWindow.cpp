#include "searchui/SearchWindow.h"

#include "desktop/IconLabel.h"
#include "platform/Ui.h"
#include "search/SearchRunner.h"
#include "searchui/FindRules.h"
#include "searchui/ResultsView.h"
#include "searchui/SearchPictures.h"
#include "searchui/SearchResultsModel.h"
#include "state/AppState.h"
#include "state/SettingKeys.h"
#include "state/Twips.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace tarl {

namespace {

// The window's built-in size and the places of its controls, in twips.
constexpr double WindowWidth = 10000;
constexpr double WindowHeight = 7000;
constexpr double ListTop = 2400;

void Place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

} // namespace

SearchWindow::SearchWindow(AppState& state, Hooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowTitle(QStringLiteral("Search MP3 File"));
    setAttribute(Qt::WA_DeleteOnClose); // closing discards the window and its history
    resize(ToPixels(WindowWidth), ToPixels(WindowHeight));

    runner_ = new SearchRunner(this);
    runner_->onFinished = [this](Result<SearchOutcome> outcome) {
        searchFinished(std::move(outcome));
    };
    runner_->onIndexProgress = [this](int done, int total) { showIndexProgress(done, total); };

    buildSearchControls();
    buildResults();
    buildMiniPlayer();
    windowResized();
    find->setFocus(); // typing goes to the search text as soon as the window opens
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::buildSearchControls() {
    find = new QLineEdit(this);
    find->setObjectName(QStringLiteral("find"));
    Place(find, 120, 120, 3600, 315);
    // Enter in the text box reaches the window, which searches (keyPressEvent).

    searchButton = new QPushButton(QStringLiteral("&Search"), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    Place(searchButton, 3840, 105, 1100, 345);
    connect(searchButton, &QPushButton::clicked, this, &SearchWindow::searchClicked);

    historyBox = new QComboBox(this);
    historyBox->setObjectName(QStringLiteral("historyBox"));
    Place(historyBox, 120, 540, 3600, 315);
    connect(historyBox, &QComboBox::activated, this, &SearchWindow::historyChosen);

    Back = new QPushButton(QStringLiteral("<<"), this);
    Back->setObjectName(QStringLiteral("Back"));
    Place(Back, 3840, 540, 520, 315);
    connect(Back, &QPushButton::clicked, this, &SearchWindow::backClicked);
    next = new QPushButton(QStringLiteral(">>"), this);
    next->setObjectName(QStringLiteral("next"));
    Place(next, 4420, 540, 520, 315);
    connect(next, &QPushButton::clicked, this, &SearchWindow::forwardClicked);

    // Three columns: File, Path, Album / Title, Artist, Genre / Year, Comments, Rating.
    fields_ = new QButtonGroup(this);
    for (int i = 0; i < 9; ++i) {
        const auto field = SearchField(i);
        auto* option = new QRadioButton(SearchFieldCaption(field), this);
        option->setObjectName(QStringLiteral("fieldButtons") + QString::number(i));
        const int column = i % 3, row = i / 3;
        // Wide enough for "Comments" drawn in bold.
        Place(option, 5200 + column * 1400.0, 120 + row * 300.0, 1350, 285);
        fields_->addButton(option, i);
        fieldButtons[static_cast<size_t>(i)] = option;
    }
    connect(fields_, &QButtonGroup::idClicked, this, [this] { showBold(); });
    selectField(SearchField::File);

    ignoreAccentsCheck = new QCheckBox(QStringLiteral("Ignore accents"), this);
    ignoreAccentsCheck->setObjectName(QStringLiteral("ignoreAccentsCheck"));
    Place(ignoreAccentsCheck, 5200, 1050, 2400, 285);
    ignoreAccentsCheck->setChecked(state_.settings.readBool(keys::IgnoreAccents));
    connect(ignoreAccentsCheck, &QCheckBox::clicked, this, &SearchWindow::ignoreAccentsClicked);
}

void SearchWindow::buildResults() {
    model_ = new SearchResultsModel(this);
    results = new ResultsView(this);
    results->setModel(model_);
    for (int column = 0; column < SearchColumnCount; ++column)
        results->header()->resizeSection(column, ToPixels(SearchColumnWidthTwips(column)));
    results->onMouseDown = [this](Qt::MouseButton button, const QPoint& pos) {
        hitsMouseDown(button, pos);
    };
    results->onEnter = [this] { hitDoubleClicked(); };
    connect(results, &QAbstractItemView::doubleClicked, this, [this] { hitDoubleClicked(); });
    Place(results, 0, ListTop, WindowWidth - 600, 4000);

    indexProgress = new QProgressBar(this);
    indexProgress->setObjectName(QStringLiteral("indexProgress"));
    indexProgress->setTextVisible(false);
    Place(indexProgress, 120, 2310, 4000, 75);
    indexProgress->hide();

    auto* jump = new IconLabel(this);
    jump->setIcon(JumpIcon(), QSize(20, 20));
    jumpArrow = jump;
    jumpArrow->setObjectName(QStringLiteral("jumpArrow"));
    jumpArrow->setToolTip(QStringLiteral("Show this hit in the main window"));
    jumpArrow->setCursor(Qt::PointingHandCursor);
    Place(jumpArrow, WindowWidth - 600, ListTop, 360, 360);
    jumpArrow->installEventFilter(this);

    // The list's right-button menu; it has no place in a menu bar.
    hitMenu = new QMenu(QStringLiteral("find files"), this);
    hitMenu->setObjectName(QStringLiteral("hitMenu"));
    searchSameMenu = hitMenu->addMenu(QStringLiteral("Search more of the same"));
    searchSameMenu->setObjectName(QStringLiteral("searchSameMenu"));
    for (int i = 0; i < 9; ++i) {
        const auto field = SearchField(i);
        QAction* item = searchSameMenu->addAction(SearchFieldCaption(field));
        item->setObjectName(QStringLiteral("searchSameMenu") + SearchFieldCaption(field));
        connect(item, &QAction::triggered, this, [this, field] { searchSameClicked(field); });
        searchSameItems[static_cast<size_t>(i)] = item;
    }
    hitMenu->addSeparator();
    QAction* playNext = hitMenu->addAction(QStringLiteral("Play next"));
    playNext->setObjectName(QStringLiteral("playNextAction"));
    playNext->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(playNext, &QAction::triggered, this, [this] { queueHit(true); });
    QAction* addToQueue = hitMenu->addAction(QStringLiteral("Add to queue"));
    addToQueue->setObjectName(QStringLiteral("addToQueueAction"));
    connect(addToQueue, &QAction::triggered, this, [this] { queueHit(false); });
    auto* playNextKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), results);
    playNextKey->setContext(Qt::WidgetShortcut);
    connect(playNextKey, &QShortcut::activated, this, [this] { queueHit(true); });
    buildPlaylistMenu();

    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    statusBar->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(statusBar);
    statusPanel_->setObjectName(QStringLiteral("panel1"));
    statusPanel_->setTextFormat(Qt::PlainText);
    statusBar->addWidget(statusPanel_, 1);
}

// ---------------------------------------------------------------------------------------------
// The field options

void SearchWindow::disableSearching() {
    // An exclusive group always keeps one option; clearing them all needs it open for a moment.
    fields_->setExclusive(false);
    for (QRadioButton* option : fieldButtons)
        option->setChecked(false);
    fields_->setExclusive(true);
    showBold();
}

void SearchWindow::selectField(SearchField field) {
    fieldButtons[static_cast<size_t>(field)]->setChecked(true);
    showBold();
}

SearchField SearchWindow::selectedField() const {
    const int checked = fields_->checkedId();
    return checked < 0 ? SearchField::File : SearchField(checked);
}

void SearchWindow::showBold() {
    for (QRadioButton* option : fieldButtons) {
        QFont font = option->font();
        font.setBold(option->isChecked());
        option->setFont(font);
    }
}

void SearchWindow::ignoreAccentsClicked() {
    state_.settings.write(keys::IgnoreAccents, ignoreAccentsCheck->isChecked()
                                                   ? QStringLiteral("1")
                                                   : QStringLiteral("0"));
}

// ---------------------------------------------------------------------------------------------
// Search and history

void SearchWindow::searchClicked() {
    const QString text = find->text();
    if (text.size() < SearchMinimumLength) {
        state_.services.ui.message(SearchTooShortText, SearchWarningTitle, MsgIcon::Exclamation,
                                   MsgButtons::Ok);
        return;
    }
    model_->clear();
    hasHits_ = false;
    statusPanel_->setText(SearchingText);
    const SearchField field = selectedField();
    recordHistory(SearchHistoryEntry(text, field));
    SearchOptions options;
    options.ignoreAccents = ignoreAccentsCheck->isChecked();
    runner_->setCatalogFile(state_.catalog.connection.fileName());
    runner_->start(text, field, options);
}

void SearchWindow::recordHistory(const QString& entry) {
    const int known = historyBox->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (known >= 0) {
        historyBox->setCurrentIndex(known);
        return;
    }
    historyBox->insertItem(0, entry);
    historyBox->setCurrentIndex(0);
}

void SearchWindow::searchFinished(Result<SearchOutcome> outcome) {
    indexProgress->hide();
    if (!outcome) {
        statusPanel_->setText(outcome.error);
        return;
    }
    hasHits_ = outcome.value.hits > 0;
    model_->setRows(std::move(outcome.value.rows));
    statusPanel_->setText(outcome.value.status);
}

void SearchWindow::showIndexProgress(int done, int total) {
    if (total <= 0 || done >= total) {
        indexProgress->hide();
        return;
    }
    indexProgress->setRange(0, total);
    indexProgress->setValue(done);
    indexProgress->show();
    // The bar is a thin line over the list: the status bar says what it is and how far.
    statusPanel_->setText(
        QStringLiteral("Building the search index: %1%").arg(int(qint64(done) * 100 / total)));
}

void SearchWindow::historyChosen() {
    const SearchHistoryParts parts = SplitSearchHistoryEntry(historyBox->currentText());
    find->setText(parts.text);
    disableSearching();
    if (parts.field)
        selectField(*parts.field);
}

void SearchWindow::backClicked() {
    const HistoryStep step = BackStep(historyBox->count(), historyBox->currentIndex());
    historyBox->setCurrentIndex(step.selected);
    if (!step.search)
        return;
    historyChosen();
    searchClicked();
}

void SearchWindow::forwardClicked() {
    const HistoryStep step = NextStep(historyBox->count(), historyBox->currentIndex());
    if (!step.search)
        return;
    historyBox->setCurrentIndex(step.selected);
    historyChosen();
    searchClicked();
}

QString SearchWindow::statusText() const {
    return statusPanel_->text();
}

// ---------------------------------------------------------------------------------------------
// The window

void SearchWindow::windowResized() {
    const double statusHeight = ToTwips(statusBar->sizeHint().height());
    const FindLayout layout = PlanFindLayout(ToTwips(QWidget::width()), ToTwips(QWidget::height()),
                                             statusHeight, ListTop);
    statusBar->setGeometry(0, ToPixels(layout.statusTop), QWidget::width(), ToPixels(statusHeight));
    QRect list = results->geometry();
    if (layout.listWidth)
        list.setWidth(ToPixels(*layout.listWidth));
    if (layout.listHeight)
        list.setHeight(ToPixels(*layout.listHeight));
    results->setGeometry(list);
    jumpArrow->move(ToPixels(layout.jumpLeft), jumpArrow->y());
}

void SearchWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    windowResized();
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    runner_->cancel();
    miniPlayerTimer->stop();
    if (hooks_.startMainTimers)
        hooks_.startMainTimers();
    event->accept();
}

void SearchWindow::keyPressEvent(QKeyEvent* event) {
    // The text box passes its Enter on to the window, as every control that does not use it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        searchClicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool leftPress = type == QEvent::MouseButtonPress &&
                           static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (watched == jumpArrow && leftPress) {
        jumpClicked();
        return true;
    }
    if (watched == stopButton && leftPress) {
        stopClicked();
        return true;
    }
    if (watched != positionKnob)
        return QWidget::eventFilter(watched, event);
    if (leftPress) {
        positionPressed();
        return true;
    }
    if (type == QEvent::MouseMove) {
        positionDragged(ToTwips(static_cast<QMouseEvent*>(event)->position().toPoint().x()));
        return true;
    }
    if (type == QEvent::MouseButtonRelease) {
        positionReleased();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tarl
