#pragma once

#include <functional>
#include <string>

#include "app/CrystalData.h"
#include "io/ChoiceDialogs.h"
#include "platform/DialogPresenter.h"
#include "platform/UserInterface.h"

namespace braxel {

// What the structure readers work on: the form's record and result texts, its message boxes and
// choosers, the two table files, and the form's axis conversion.
struct ImportContext {
  CrystalData& data;
  CalculationResults& results;
  UserInterface& ui;
  DialogPresenter<CIcsdEntryDlg>& icsdEntryPresenter;
  DialogPresenter<CExpoSolutionDlg>& expoSolutionPresenter;
  std::string tabsgPath;
  std::string settingTablePath;
  // ConvertAxisSetting of the form: systemMode 0 monoclinic, 1 orthorhombic. May be empty where
  // nothing can be converted.
  std::function<void(int systemMode)> convertAxisSetting;
};

// The context with other storage for the record and its result texts, and other message boxes;
// choosers, tables and the axis conversion stay those of the context.
ImportContext WithStorage(const ImportContext& context, CrystalData& data,
                          CalculationResults& results, UserInterface& ui);

// Offers the axis conversion for the record's group: 3 to 15 monoclinic, 16 to 74 orthorhombic.
void OfferAxisConversion(const ImportContext& context);

}  // namespace braxel
