#pragma once
// Screenshot scenes of the Pelmar-3 window: a maximized window holding an example
// configuration, on one of its tabs.
//   pelmar      "Общие"                 pelmar-gprs "GPRS"
//   pelmar-eth  "Ethernet"              pelmar-ids  "Идентификаторы"
//   pelmar-so   "СО / КНО"              pelmar-det  "Контроллер датчиков", BODs shown
//   pelmar-dirs the direction sub-tab

#include <QString>

namespace vantor {
class TfmMain;
}

bool IsPelmarScene(const QString &scene);
void SetUpPelmarScene(vantor::TfmMain &main, const QString &scene);
