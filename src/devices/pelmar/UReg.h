#pragma once
// TfrmReg: the list of registration servers of one protocol (GPRS or Ethernet), with
// its in-place editors (IPv4 address, port 0..65535, request URL) and "Default".
//
// The frame edits a TRegServerList that lives in the configuration; it never copies
// it. Call Reload() after the list was replaced underneath (a document was read).

#include "devices/pelmar/RegServers.h"

#include <QWidget>

class QPushButton;

namespace vantor {

namespace widgets {
class InPlaceTreeView;
}

class RegServerModel;

class TfrmReg : public QWidget {
    Q_OBJECT

public:
    explicit TfrmReg(QWidget *parent = nullptr);
    ~TfrmReg() override;

    void Bind(TRegServerList &list);
    void Reload();

    // A row at the end, focused.
    void AddRow(const TRegServer &row = NewRegServer());
    void Clear();
    // Replaces the list by the two default registration servers.
    void SetDefault();
    bool HasRows() const;
    // Deletes the first selected row, or the last row when none is selected.
    void DeleteSelectedOrLast();

    widgets::InPlaceTreeView *view() const { return vtReg_; }

signals:
    // The list or a row changed.
    void edited();

private:
    void AskAndSetDefault();

    RegServerModel *model_;
    widgets::InPlaceTreeView *vtReg_;
    QPushButton *btnRegDef_;
};

} // namespace vantor
