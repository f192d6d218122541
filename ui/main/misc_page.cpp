#include "ui/main/misc_page.h"

#include "launcher/launcher.h"
#include "ui/main/command_line_preview.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QComboBox* comboWith(const std::vector<std::string>& entries, const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const auto& e : entries)
        box->addItem(toQt(e));
    return box;
}

} // namespace

MiscPage::MiscPage(Launcher& launcher, QWidget* parent) : QWidget(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("MISC"));
    auto* layout = new QVBoxLayout(this);

    auto* display = new QGroupBox(QStringLiteral("Display"), this);
    auto* form = new QFormLayout(display);
    resolution_ = comboWith(resolutionEntries(), "CmbResolution", display);
    resolution_->setToolTip(QStringLiteral("F2 deletes the configuration file"));
    form->addRow(QStringLiteral("&Resolution:"), resolution_);
    threeDfx_ = new QRadioButton(QStringLiteral("3DFX"), display);
    threeDfx_->setObjectName(QStringLiteral("OptRenderer3dfx"));
    direct3d_ = new QRadioButton(QStringLiteral("Direct3D HAL"), display);
    direct3d_->setObjectName(QStringLiteral("OptRendererD3D"));
    software_ = new QRadioButton(QStringLiteral("Software:"), display);
    software_->setObjectName(QStringLiteral("OptRendererSoftware"));
    softwareType_ = comboWith(softwareRenderEntries(), "CmbSoftwareRender", display);
    form->addRow(threeDfx_);
    form->addRow(direct3d_);
    form->addRow(software_, softwareType_);
    layout->addWidget(display);

    auto* game = new QGroupBox(QStringLiteral("Game"), this);
    auto* gameForm = new QFormLayout(game);
    campaignOn_ = new QCheckBox(game);
    campaignOn_->setObjectName(QStringLiteral("ChkStartWithCampaign"));
    campaign_ = comboWith(campaignEntries(), "CmbCampaign", game);
    campaign_->setEditable(true); // a map name may be typed by hand
    auto* campaignRow = new QHBoxLayout;
    campaignRow->addWidget(campaignOn_);
    campaignRow->addWidget(campaign_, 1);
    // A row of several controls gets no buddy from the form: its label names the list.
    auto* startWith = new QLabel(QStringLiteral("Start &with:"), game);
    startWith->setBuddy(campaign_);
    gameForm->addRow(startWith, campaignRow);
    mapEditorMode_ = comboWith(mapEditorModeEntries(), "CmbTerraForgeMode", game);
    mapEditor_ = new QPushButton(QStringLiteral("Edit"), game);
    mapEditor_->setObjectName(QStringLiteral("CmdTerraForge"));
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(mapEditorMode_, 1);
    editRow->addWidget(mapEditor_);
    auto* editWorld = new QLabel(QStringLiteral("&Edit World:"), game);
    editWorld->setBuddy(mapEditorMode_);
    gameForm->addRow(editWorld, editRow);
    layout->addWidget(game);

    auto* folders = new QHBoxLayout;
    auto* openGame = new QPushButton(QStringLiteral("Game folder"), this);
    openGame->setObjectName(QStringLiteral("CmdOpenKVFolder"));
    auto* openSkirmish = new QPushButton(QStringLiteral("Skirmish folder"), this);
    openSkirmish->setObjectName(QStringLiteral("CmdOpenSkirmishFolder"));
    compact_ = new QCheckBox(QStringLiteral("<<"), this);
    compact_->setObjectName(QStringLiteral("ChkMiniMode"));
    compact_->setToolTip(QStringLiteral("Compact window"));
    folders->addWidget(openGame);
    folders->addWidget(openSkirmish);
    folders->addStretch(1);
    folders->addWidget(compact_);
    layout->addLayout(folders);
    preview_ = new CommandLinePreview(launcher_, this);
    layout->addWidget(preview_);
    layout->addStretch(1);

    connect(openGame, &QPushButton::clicked, this, &MiscPage::openGameFolder);
    connect(mapEditor_, &QPushButton::clicked, this, &MiscPage::startMapEditor);
    connect(openSkirmish, &QPushButton::clicked, this, &MiscPage::openSkirmishFolder);
    connectControls();
}

void MiscPage::connectControls() {
    OptionSet& o = launcher_.options;
    connect(resolution_, &QComboBox::currentIndexChanged, this, [&o](int i) { o.resolution = i; });
    connect(softwareType_, &QComboBox::currentIndexChanged, this,
            [&o](int i) { o.softwareRenderType = i; });
    connect(threeDfx_, &QRadioButton::toggled, this, [&o](bool on) {
        if (on)
            o.renderer = Renderer::ThreeDfx;
    });
    connect(direct3d_, &QRadioButton::toggled, this, [&o](bool on) {
        if (on)
            o.renderer = Renderer::Direct3DHal;
    });
    connect(software_, &QRadioButton::toggled, this, [&o](bool on) {
        if (on)
            o.renderer = Renderer::Software;
    });
    connect(campaignOn_, &QCheckBox::toggled, this,
            [&o](bool on) { o.startWithCampaignOn = on ? 1 : 0; });
    connect(campaign_, &QComboBox::currentTextChanged, this,
            [&o](const QString& t) { o.campaign = fromQt(t); });
    connect(mapEditorMode_, &QComboBox::currentIndexChanged, this,
            [&o](int i) { o.mapEditorMode = i; });
    connect(compact_, &QCheckBox::toggled, this, [this, &o](bool on) {
        o.miniModeOn = on ? 1 : 0;
        emit compactToggled(on);
    });
    // After the option itself has changed: the preview shows the new command line.
    const auto reload = [this] { preview_->reload(); };
    for (QComboBox* box : {resolution_, softwareType_})
        connect(box, &QComboBox::currentIndexChanged, this, reload);
    connect(campaign_, &QComboBox::currentTextChanged, this, reload);
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{threeDfx_, direct3d_, software_, campaignOn_})
        connect(b, &QAbstractButton::toggled, this, reload);
}

void MiscPage::refresh() {
    const OptionSet& o = launcher_.options;
    const QSignalBlocker b1(resolution_), b2(softwareType_), b3(threeDfx_), b4(direct3d_),
        b5(software_), b6(campaignOn_), b7(campaign_), b8(mapEditorMode_), b9(compact_);
    resolution_->setCurrentIndex(o.resolution);
    softwareType_->setCurrentIndex(o.softwareRenderType);
    threeDfx_->setChecked(o.renderer == Renderer::ThreeDfx);
    direct3d_->setChecked(o.renderer == Renderer::Direct3DHal);
    software_->setChecked(o.renderer == Renderer::Software);
    campaignOn_->setChecked(o.startWithCampaignOn == 1);
    campaign_->setCurrentText(toQt(o.campaign));
    mapEditorMode_->setCurrentIndex(o.mapEditorMode);
    mapEditorMode_->setEnabled(launcher_.mapEditorAvailable);
    mapEditor_->setEnabled(launcher_.mapEditorAvailable);
    compact_->setChecked(o.compact());
    compact_->setText(o.compact() ? QStringLiteral(">>") : QStringLiteral("<<"));
    preview_->reload();
}

} // namespace kv::ui
