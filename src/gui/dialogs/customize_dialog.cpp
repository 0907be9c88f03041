#include "gui/dialogs/customize_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/data/program_state.h"
#include "core/files/number_format_settings.h"
#include "core/files/settings_file.h"
#include "gui/dialogs/dialog_units.h"

namespace qv70 {

CCustomizeDlg::CCustomizeDlg(ProgramState& state, const Environment& environment,
                             NumberRedraw redraw, QWidget* parent)
    : QDialog(parent),
      state_(state),
      environment_(environment),
      redraw_(std::move(redraw)),
      // Each use starts from the settings as they are now.
      choice_(std::make_unique<CustomizeChoice>(state.numberFormat.decimal,
                                                state.numberFormat.separator)) {
  setWindowTitle(QStringLiteral("Customize"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(QFont(QStringLiteral("Arial"), 10));
  BuildControls();
  ShowChoice();
}

CCustomizeDlg::~CCustomizeDlg() = default;

void CCustomizeDlg::BuildControls() {
  const DialogUnits du(font());
  setFixedSize(du.X(223), du.Y(98));

  auto* dataFrame = new QGroupBox(QStringLiteral("Data"), this);
  du.Place(dataFrame, 7, 4, 209, 64);
  auto* decimalFrame = new QGroupBox(QStringLiteral("Decimal symbol"), this);
  du.Place(decimalFrame, 15, 17, 93, 45);
  auto* separatorFrame = new QGroupBox(QStringLiteral("List separator"), this);
  du.Place(separatorFrame, 115, 17, 93, 45);

  // The radio buttons sit on the dialog beside the group boxes, so each pair
  // needs its own exclusive group.
  decimalPeriod_ = new QRadioButton(QStringLiteral(".(Period)"), this);
  du.Place(decimalPeriod_, 27, 30, 70, 11);
  decimalComma_ = new QRadioButton(QStringLiteral(",(Comma)"), this);
  du.Place(decimalComma_, 27, 45, 70, 11);
  separatorComma_ = new QRadioButton(QStringLiteral(",(Comma)"), this);
  du.Place(separatorComma_, 127, 30, 70, 11);
  separatorSemicolon_ = new QRadioButton(QStringLiteral(";(Semicolon)"), this);
  du.Place(separatorSemicolon_, 127, 45, 70, 11);
  auto* decimalGroup = new QButtonGroup(this);
  decimalGroup->addButton(decimalPeriod_, 0);
  decimalGroup->addButton(decimalComma_, 1);
  auto* separatorGroup = new QButtonGroup(this);
  separatorGroup->addButton(separatorComma_, 0);
  separatorGroup->addButton(separatorSemicolon_, 1);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  du.Place(ok_, 112, 76, 50, 15);
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  du.Place(cancel_, 166, 76, 50, 15);
  cancel_->setAutoDefault(false);

  // idClicked also follows the arrow keys, which move and click the radio buttons.
  connect(decimalGroup, &QButtonGroup::idClicked, this, &CCustomizeDlg::OnDecimalChosen);
  connect(separatorGroup, &QButtonGroup::idClicked, this, &CCustomizeDlg::OnSeparatorChosen);
  connect(ok_, &QPushButton::clicked, this, &CCustomizeDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &CCustomizeDlg::reject);
}

void CCustomizeDlg::OnDecimalChosen(int decimal) {
  choice_->ChooseDecimal(decimal);
  ShowChoice();
}

void CCustomizeDlg::OnSeparatorChosen(int separator) {
  choice_->ChooseSeparator(separator);
  ShowChoice();
}

void CCustomizeDlg::ShowChoice() {
  (choice_->Decimal() == 1 ? decimalComma_ : decimalPeriod_)->setChecked(true);
  (choice_->Separator() == 1 ? separatorSemicolon_ : separatorComma_)->setChecked(true);
  separatorComma_->setEnabled(choice_->SeparatorCommaEnabled());
}

void CCustomizeDlg::accept() {
  SettingsFile settings = SettingsFile::InDirectory(environment_.DataDirectory());
  const NumberRedraw& redraw = redraw_;
  // The settings file's rule (write only when it exists) and the order of the
  // settings, the file and the redraw are the core's; the view's redraw order
  // is fixed here.
  CustomizeOk(state_, settings, *choice_, [&redraw] {
    for (const auto* step : {&redraw.fillManualTable, &redraw.fillLoggingTable,
                             &redraw.showLoggingGraph, &redraw.showStepGraph,
                             &redraw.showLoggingInfo}) {
      if (*step) (*step)();
    }
  });
  QDialog::accept();
}

}  // namespace qv70
