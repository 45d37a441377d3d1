#include "PelmarScenes.h"

#include "app/UMain.h"
#include "devices/pelmar/UConfPelmar.h"
#include "json/JsonText.h"

#include <QMdiSubWindow>
#include <QTabWidget>

#include <cstdio>

namespace {

// What an engineer might have set up for a crossing with two objects and detectors.
constexpr const char *kExample = R"({"revur":{
  "name":"Перекрёсток Ленина — Мира","sid":"SID-0417","oid":"ЦОДД-12","id":2001,"utcs_id":65023,
  "time_interval":60,"time_source":0,"tmax":120,"tmin":500,"door":true,
  "geo":{"en":true},
  "gprs":{"en":true,"prior":0,"apn":"internet.example","pin":"1234","user":"gsm","psw":"gsm",
          "server":{"fix":false,"url":"centre.example.net:7000"},
          "regs":[{"ip":"192.0.2.10","port":80,"script":"reg1.example.net/cgi-bin/svc.cgi"},
                  {"ip":"192.0.2.20","port":80,"script":"reg2.example.net/cgi-bin/svc.cgi"}]},
  "eth":{"en":true,"prior":1,"ping":true,"dhcp":false,"mac":"02-4F-1C-9A-33-07","ip":"10.12.0.17",
         "gate":"10.12.0.1","mask":"255.255.255.0","server":{"fix":true,"url":"10.12.0.2:7000"},
         "regs":[{"ip":"192.0.2.10","port":80,"script":"reg1.example.net/cgi-bin/svc.cgi"}]},
  "so":[{"en":true,"name":"СО Ленина — Мира","id":1,"du_time":300,"phase_change_messages":true},
        {"en":true,"name":"КНО Мира, 12","id":2,"du_time":120,"phase_change_messages":false}],
  "det":{"en":true,"name":"Контроллер датчиков","id":4001,"app_id":65009,
         "dirs":[{"name":"Ленина, прямо"},{"name":"Ленина, налево"},{"name":"Мира, прямо"},{"name":""}],
         "bods":[{"name":"БОД Ленина","num":0,"distance":-120,"lanes":[{"num":1,"dir":1},{"num":2,"dir":2}]},
                 {"name":"БОД Мира","num":1,"distance":80,"lanes":[{"num":1,"dir":3},{"num":2,"dir":0},{"num":2,"dir":3}]},
                 {"name":"","num":1,"distance":0,"lanes":[{"num":1,"dir":0}]}]},
  "web":{"en":true,"port":80,"login":"YWRtaW46cGFzcw=="},"max_packet":1024}})";

} // namespace

bool IsPelmarScene(const QString &scene)
{
    return scene == QLatin1String("pelmar") || scene.startsWith(QLatin1String("pelmar-"));
}

void SetUpPelmarScene(vantor::TfmMain &main, const QString &scene)
{
    using vantor::TfmConfPelmar;
    const auto document = vantor::json::ParseObject(kExample);
    if (!document || !main.DispatchConfig(*document, vantor::kNoDevice)) {
        std::fprintf(stderr, "vantor5-screenshot: the Pelmar-3 example did not open\n");
        return;
    }
    auto *window = qobject_cast<TfmConfPelmar *>(main.activeDeviceWindow());
    if (!window)
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        sub->showMaximized();
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("pgcMain"));
    auto *detector = window->findChild<QTabWidget *>(QStringLiteral("pgcDetector"));
    const struct {
        const char *scene;
        int tab;
        int detectorTab;
    } scenes[] = {
        {"pelmar", TfmConfPelmar::kGeneralTab, -1},      {"pelmar-gprs", TfmConfPelmar::kGprsTab, -1},
        {"pelmar-eth", TfmConfPelmar::kEthernetTab, -1}, {"pelmar-ids", TfmConfPelmar::kIdsTab, -1},
        {"pelmar-so", TfmConfPelmar::kObjectsTab, -1},   {"pelmar-det", TfmConfPelmar::kDetectorTab, 1},
        {"pelmar-dirs", TfmConfPelmar::kDetectorTab, 0},
    };
    for (const auto &s : scenes)
        if (scene == QLatin1String(s.scene)) {
            tabs->setCurrentIndex(s.tab);
            if (s.detectorTab >= 0)
                detector->setCurrentIndex(s.detectorTab);
        }
}
