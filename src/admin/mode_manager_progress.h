// The link's progress view for two windows: the editor's progress bar always, and the mode
// manager's while it is open (ManagerOpen).
#pragma once

#include "protocol/link_views.h"

namespace vellora::admin {

class BulkProgressTee : public protocol::BulkProgressView {
public:
    /// `first` (the editor's views) may be null; it must outlive the tee.
    explicit BulkProgressTee(protocol::BulkProgressView* first = nullptr) : first_(first) {}
    void SetFirst(protocol::BulkProgressView* view) { first_ = view; }
    /// The mode manager joins while it is open; null when it has closed.
    void SetSecond(protocol::BulkProgressView* view) { second_ = view; }
    [[nodiscard]] protocol::BulkProgressView* Second() const { return second_; }

    void BeginBulk(protocol::BulkOperation operation) override {
        if (first_) first_->BeginBulk(operation);
        if (second_) second_->BeginBulk(operation);
    }
    void BulkProgress(int done, int total) override {
        if (first_) first_->BulkProgress(done, total);
        if (second_) second_->BulkProgress(done, total);
    }
    void EndBulk(protocol::BulkOperation operation) override {
        if (first_) first_->EndBulk(operation);
        if (second_) second_->EndBulk(operation);
    }
    void ProgressStep() override {
        if (first_) first_->ProgressStep();
        if (second_) second_->ProgressStep();
    }

private:
    protocol::BulkProgressView* first_ = nullptr;
    protocol::BulkProgressView* second_ = nullptr;
};

}  // namespace vellora::admin
