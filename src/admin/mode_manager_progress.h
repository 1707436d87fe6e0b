// The link's progress view for two windows: the editor's progress bar always, and the mode
// manager's while it is open (ManagerOpen).
#pragma once

#include <QObject>
#include <QPointer>

#include "protocol/link_views.h"

namespace vellora::admin {

class BulkProgressTee : public protocol::BulkProgressView {
public:
    /// `first` (the editor's views) may be null; it must outlive the tee.
    explicit BulkProgressTee(protocol::BulkProgressView* first = nullptr) : first_(first) {}
    void SetFirst(protocol::BulkProgressView* view) { first_ = view; }
    /// The mode manager joins while it is open; null when it has closed. The view is
    /// forgotten as soon as `owner` (the window it belongs to) is destroyed, so neither the
    /// tee nor the window has to outlive the other.
    void SetSecond(protocol::BulkProgressView* view, QObject* owner) {
        second_ = view;
        owner_ = owner;
    }
    [[nodiscard]] protocol::BulkProgressView* Second() const { return owner_ ? second_ : nullptr; }

    void BeginBulk(protocol::BulkOperation operation) override {
        if (first_) first_->BeginBulk(operation);
        if (auto* second = Second()) second->BeginBulk(operation);
    }
    void BulkProgress(int done, int total) override {
        if (first_) first_->BulkProgress(done, total);
        if (auto* second = Second()) second->BulkProgress(done, total);
    }
    void EndBulk(protocol::BulkOperation operation) override {
        if (first_) first_->EndBulk(operation);
        if (auto* second = Second()) second->EndBulk(operation);
    }
    void ProgressStep() override {
        if (first_) first_->ProgressStep();
        if (auto* second = Second()) second->ProgressStep();
    }

private:
    protocol::BulkProgressView* first_ = nullptr;
    protocol::BulkProgressView* second_ = nullptr;
    QPointer<QObject> owner_;  // nulls itself when the window goes
};

}  // namespace vellora::admin
