#include "ui/mapview/form1.h"

#include "ui/mapview/form2.h"
#include "ui/mapview/form4.h"
#include "ui/mapview/map_picture_widget.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"

#include "mapview/map_layers.h"
#include "mapview/view_geometry.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QAction* addEntry(QMenu* menu, const char* name, const QString& text, bool checkable = false,
                  bool checked = false) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    action->setChecked(checked);
    return action;
}

} // namespace

Form1::Form1(std::string programFolder, Ui* ui, QWidget* parent)
    : QMainWindow(parent), ownUi_(ui ? nullptr : std::make_unique<QtUi>(this)),
      ui_(ui ? ui : ownUi_.get()), viewer_(*ui_, progress_, std::move(programFolder)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("VUV Ozarev - "));
    progress_.onStatus = [this](const std::string& text) { setStatusText(text); };
    progress_.onProgress = [this](std::uint64_t current, std::uint64_t) {
        if (current % 32 == 0)
            updatePicture(); // the picture grows while it is drawn
    };
    viewer_.onBusyChanged = [this](bool busy) { setBusy(busy); };
    viewer_.onPictureChanged = [this] { updatePicture(); };
    viewer_.onSeaLevelLoaded = [this](int level) {
        const QSignalBlocker block(seaSlider_);
        seaSlider_->setMaximum(std::max(mapview::kSeaLevelSliderMax, level));
        seaSlider_->setValue(level);
        showSliderValues();
    };
    // Slider steps and layer entries ask for a redraw; one redraw runs for all of them
    // once the event queue is empty and no drawing runs.
    redrawTimer_ = new QTimer(this);
    redrawTimer_->setSingleShot(true);
    redrawTimer_->setInterval(0);
    connect(redrawTimer_, &QTimer::timeout, this, &Form1::redrawNow);
    buildMenus();
    buildBody();
    setBusy(false);
    resize(760, 560);
    picture_->setFocus();
}

Form1::~Form1() = default;

Form1* Form1::showViewer(const std::string& programFolder, QWidget* parent) {
    auto* window = new Form1(programFolder, nullptr, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowFlag(Qt::Window);
    window->show();
    return window;
}

void Form1::buildMenus() {
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    fileMenu_->setObjectName(QStringLiteral("FileMenu"));
    connect(addEntry(fileMenu_, "OpenLnd", tr("Open LND...")), &QAction::triggered, this,
            &Form1::OpenLnd);
    connect(addEntry(fileMenu_, "OpenBinaryMap", tr("Open MAP...")), &QAction::triggered, this,
            &Form1::OpenBinaryMap);
    connect(addEntry(fileMenu_, "copy", tr("Copy picture")), &QAction::triggered, this,
            &Form1::copyPicture);
    fileMenu_->addSeparator();
    connect(addEntry(fileMenu_, "CloseMenu", tr("Close")), &QAction::triggered, this,
            &QWidget::close);

    optionsMenu_ = menuBar()->addMenu(tr("&View"));
    optionsMenu_->setObjectName(QStringLiteral("OptionsMenu"));
    auto layer = [this](const char* name, const QString& text, bool& flag) {
        QAction* a = addEntry(optionsMenu_, name, text, true, flag);
        connect(a, &QAction::toggled, this, [this, &flag](bool on) {
            flag = on;
            redrawSoon();
        });
    };
    layer("ShowLandscape", tr("Landscape"), viewer_.layers.landscape);
    layer("Water", tr("Water"), viewer_.layers.water);
    layer("ShowTextures", tr("Textures"), viewer_.layers.textures);
    layer("ShowObjects", tr("Objects"), viewer_.layers.objects);
    layer("showGateways", tr("Gateways"), viewer_.layers.gateways);
    optionsMenu_->addSeparator();
    // Checked exactly at 2x; from any other zoom, checking it chooses 2x. From a larger
    // zoom that is a step out, which the status line says.
    zoomAction_ = addEntry(optionsMenu_, "zoom", tr("Zoom x2"), true);
    connect(zoomAction_, &QAction::toggled, this, [this](bool on) {
        const int from = viewer_.zoom();
        zoomTo(on ? 2 : 1, QPoint(0, 0));
        viewer_.refreshAll();
        updatePicture();
        if (on && from > 2)
            status_->setText(QStringLiteral("Zoom x2: out from %1x").arg(from));
    });
    connect(addEntry(optionsMenu_, "ShowGrid", tr("Grid"), true), &QAction::toggled, this,
            [this](bool on) { picture_->setGridShown(on); });

    refreshMenu_ = menuBar()->addMenu(tr("&Refresh"));
    refreshMenu_->setObjectName(QStringLiteral("RefreshMenu"));
    using V = mapview::MapViewer;
    const std::pair<const char*, void (V::*)()> refreshes[] = {
        {"refreshAll", &V::refreshAll},         {"RefreshTerrain", &V::refreshMap},
        {"waterRefresh", &V::refreshWater},     {"refreshtexturesMenu", &V::refreshTextures},
        {"refreshObjects", &V::refreshObjects}, {"refreshGateways", &V::refreshGateways},
        {"refreshPicture", &V::refreshPicture}};
    const QString texts[] = {tr("All"),     tr("Terrain"),  tr("Water"),  tr("Textures"),
                             tr("Objects"), tr("Gateways"), tr("Picture")};
    for (std::size_t i = 0; i < std::size(refreshes); ++i) {
        const auto method = refreshes[i].second;
        connect(addEntry(refreshMenu_, refreshes[i].first, texts[i]), &QAction::triggered, this,
                [this, method] { (viewer_.*method)(); });
    }

    toolsMenu_ = menuBar()->addMenu(tr("&Tools"));
    toolsMenu_->setObjectName(QStringLiteral("ToolsMenu"));
    connect(addEntry(toolsMenu_, "Statistics", tr("Statistics...")), &QAction::triggered, this,
            &Form1::showStatistics);
    connect(addEntry(toolsMenu_, "CheckMenu", tr("Check map...")), &QAction::triggered, this,
            &Form1::showCheck);
    connect(addEntry(toolsMenu_, "ConvertMenu", tr("Convert MAP to LND...")), &QAction::triggered,
            this, &Form1::showConverter);
    addEntry(toolsMenu_, "RandMap", tr("Random map")); // a placeholder without action

    stopAction_ = menuBar()->addAction(tr("&Stop"));
    stopAction_->setObjectName(QStringLiteral("StopMenu"));
    connect(stopAction_, &QAction::triggered, this, [this] { viewer_.requestStop(); });
}

void Form1::buildBody() {
    auto* body = new QWidget(this);
    auto* row = new QHBoxLayout(body);
    picture_ = new MapPictureWidget(body);
    picture_->setMinimumSize(200, 200);
    picture_->setPicture(&viewer_.picture());
    row->addWidget(picture_, 1);
    connect(picture_, &MapPictureWidget::pointerMoved, this, &Form1::pointerMoved);
    connect(picture_, &MapPictureWidget::pointerLeft, this, [this] {
        for (QLabel* label : {statusX_, statusY_, statusHeight_, statusObject_})
            label->clear();
    });
    connect(picture_, &MapPictureWidget::clicked, this,
            [this](int x, int y) { viewer_.click(x, y); });
    connect(picture_, &MapPictureWidget::zoomStepRequested, this,
            [this](int direction, QPoint anchor) {
                zoomTo(mapview::nextZoomStep(viewer_.zoom(), direction), anchor);
            });

    auto* sliderRow = new QHBoxLayout;
    auto addSlider = [sliderRow](const char* name, const char* valueName, const QString& label,
                                 int min, int max, int value, QLabel*& valueLabel) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(label));
        auto* slider = new QSlider(Qt::Vertical);
        slider->setObjectName(QString::fromLatin1(name));
        slider->setRange(min, max);
        slider->setValue(value);
        column->addWidget(slider, 1);
        valueLabel = new QLabel(QString::number(value));
        valueLabel->setObjectName(QString::fromLatin1(valueName));
        valueLabel->setMinimumWidth(
            valueLabel->fontMetrics().horizontalAdvance(QStringLiteral("-255")));
        column->addWidget(valueLabel);
        sliderRow->addLayout(column);
        return slider;
    };
    heightSlider_ =
        addSlider("Slider1", "LblHeightValue", tr("Height"), -255, 255, 0, heightValue_);
    seaSlider_ = addSlider("Slider2", "LblSeaValue", tr("Sea"), 0, mapview::kSeaLevelSliderMax, 100,
                           seaValue_);
    connect(heightSlider_, &QSlider::valueChanged, this, [this](int v) {
        viewer_.setHeightSlider(v);
        showSliderValues();
        redrawSoon();
    });
    connect(seaSlider_, &QSlider::valueChanged, this, [this](int v) {
        viewer_.setSeaLevel(v);
        showSliderValues();
        redrawSoon();
    });
    auto* right = new QVBoxLayout;
    right->addLayout(sliderRow, 1);
    infoList_ = new QListWidget;
    infoList_->setObjectName(QStringLiteral("InfoList"));
    infoList_->setMaximumWidth(110);
    right->addWidget(infoList_);
    row->addLayout(right);
    setCentralWidget(body);

    auto panel = [this](const char* name, int width) {
        auto* label = new QLabel;
        label->setObjectName(QString::fromLatin1(name));
        label->setMinimumWidth(width);
        statusBar()->addPermanentWidget(label);
        return label;
    };
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("StatusText"));
    statusBar()->addWidget(status_, 1);
    statusX_ = panel("StatusX", 50);
    statusY_ = panel("StatusY", 50);
    statusHeight_ = panel("StatusHeight", 80);
    statusObject_ = panel("StatusObject", 160);
    statusZoom_ = panel("StatusZoom", 40);
    statusZoom_->setText(QStringLiteral("%1x").arg(viewer_.zoom()));
}

void Form1::showSliderValues() {
    heightValue_->setText(QString::number(heightSlider_->value()));
    seaValue_->setText(QString::number(seaSlider_->value()));
}

void Form1::zoomTo(int zoom, QPoint anchor) {
    const int from = viewer_.zoom();
    viewer_.setZoomStep(zoom);
    picture_->zoomChanged(from, anchor);
    const QSignalBlocker block(zoomAction_);
    zoomAction_->setChecked(viewer_.zoom() == 2);
    statusZoom_->setText(QStringLiteral("%1x").arg(viewer_.zoom()));
}

void Form1::redrawSoon() {
    if (!viewer_.loaded())
        return;
    redrawPending_ = true;
    // While a layer draws, setBusy(false) starts the timer when the drawing has ended.
    if (!busy_)
        redrawTimer_->start();
}

void Form1::redrawNow() {
    if (!redrawPending_ || busy_ || closePending_)
        return;
    redrawPending_ = false;
    viewer_.redraw();
}

void Form1::setStatusText(const std::string& text) {
    status_->setText(toQt(text));
}

void Form1::setBusy(bool busy) {
    busy_ = busy;
    optionsMenu_->setEnabled(!busy);
    refreshMenu_->setEnabled(!busy);
    // Opening or checking while a map is drawn would pull the model from under the loop.
    fileMenu_->setEnabled(!busy);
    toolsMenu_->setEnabled(!busy);
    stopAction_->setEnabled(busy);
    for (QWidget* tool : {static_cast<QWidget*>(form2_), static_cast<QWidget*>(form4_)})
        if (tool)
            tool->setEnabled(!busy);
    if (!busy && closePending_)
        QTimer::singleShot(0, this, &QWidget::close);
    else if (!busy && redrawPending_)
        redrawTimer_->start();
}

void Form1::updatePicture() {
    picture_->pictureChanged();
}

void Form1::pointerMoved(int x, int y) {
    const mapview::PointerInfo info = viewer_.pointerInfo(x, y);
    statusX_->setText(QStringLiteral("X: %1").arg(info.x));
    statusY_->setText(QStringLiteral("Y: %1").arg(info.y));
    statusHeight_->setText(QStringLiteral("Height: %1").arg(info.height));
    statusObject_->setText(info.objectName.empty()
                               ? QString()
                               : QStringLiteral("Object found: ") + toQt(info.objectName));
}

void Form1::markTile(std::optional<std::pair<int, int>> tile) {
    const auto& model = viewer_.model();
    if (!tile || tile->first < 0 || tile->second < 0 || tile->first >= model.mapWidth ||
        tile->second >= model.mapHeight) {
        picture_->setMarkerTile(std::nullopt);
        return;
    }
    picture_->setMarkerTile(QPoint(tile->first, tile->second));
}

void Form1::afterLoad() {
    markTile(std::nullopt); // the marked object belonged to the previous map
    setWindowTitle(toQt(viewer_.caption().empty() ? "VUV Ozarev - " : viewer_.caption()));
    infoList_->clear();
    for (const std::string& line : viewer_.model().info)
        infoList_->addItem(toQt(line));
    {
        const QSignalBlocker block(heightSlider_);
        heightSlider_->setValue(0);
    }
    showSliderValues();
    redrawPending_ = false; // the load has drawn the new map
    updatePicture();
    // A map smaller than the view opens as large as it fits whole; the view centres it.
    const auto& model = viewer_.model();
    if (const int fit = mapview::fittingZoomStep(model.mapWidth, model.mapHeight,
                                                 picture_->width(), picture_->height()))
        zoomTo(fit, QPoint(0, 0));
    picture_->setOffset(QPoint(0, 0));
    // Also after a refused file: the lists then empty, like the model.
    if (form2_ && form2_->isVisible())
        form2_->fill();
}

bool Form1::openLndFile(const std::string& path) {
    setWindowTitle(toQt("VUV Ozarev - " + path.substr(path.find_last_of("/\\") + 1)));
    const bool loaded = viewer_.openLnd(path);
    afterLoad();
    return loaded;
}

bool Form1::openBinaryMapFile(const std::string& path) {
    const bool loaded = viewer_.openBinaryMap(path);
    afterLoad();
    return loaded;
}

void Form1::OpenLnd() {
    if (const auto path = ui_->openFile("Open LND file", mapview::kLndFilter))
        openLndFile(*path);
}

void Form1::OpenBinaryMap() {
    if (const auto path = ui_->openFile("Open MAP file", mapview::kMapFilter))
        openBinaryMapFile(*path);
}

void Form1::showStatistics() {
    if (!form2_)
        form2_ = new Form2(*this);
    form2_->fill();
    form2_->show();
    form2_->raise();
}

void Form1::showCheck() {
    showStatistics();
}

void Form1::showConverter() {
    if (!form4_)
        form4_ = new Form4(*this);
    form4_->show();
    form4_->raise();
}

void Form1::copyPicture() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture_->image());
}

void Form1::closeEvent(QCloseEvent* event) {
    if (busy_) {
        // The drawing loop runs below this event; stop it and close when it has ended.
        closePending_ = true;
        viewer_.requestStop();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

} // namespace kv::ui
