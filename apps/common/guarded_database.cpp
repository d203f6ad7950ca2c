#include "guarded_database.h"

namespace tarvex::host {

namespace {

class GuardedField final : public dao::Field {
  public:
    GuardedField(std::shared_ptr<dao::Field> inner, std::shared_ptr<WriteGuard> guard)
        : inner_(std::move(inner)), guard_(std::move(guard)) {}
    std::string name() const override { return inner_->name(); }
    std::string declaredType() const override { return inner_->declaredType(); }
    Variant value() const override { return inner_->value(); }
    void setValue(const Variant& value) override {
        try {
            inner_->setValue(value);
        } catch (const Error& e) {
            guard_->note(e);
            throw;
        }
    }

  private:
    std::shared_ptr<dao::Field> inner_;
    std::shared_ptr<WriteGuard> guard_;
};

class GuardedFields final : public dao::Fields {
  public:
    GuardedFields(std::shared_ptr<dao::Fields> inner, std::shared_ptr<WriteGuard> guard)
        : inner_(std::move(inner)), guard_(std::move(guard)) {}
    int count() const override { return inner_->count(); }
    std::shared_ptr<dao::Field> item(const std::string& name) const override {
        return std::make_shared<GuardedField>(inner_->item(name), guard_);
    }
    std::shared_ptr<dao::Field> item(int index) const override {
        return std::make_shared<GuardedField>(inner_->item(index), guard_);
    }

  private:
    std::shared_ptr<dao::Fields> inner_;
    std::shared_ptr<WriteGuard> guard_;
};

class GuardedRecordset final : public dao::Recordset {
  public:
    GuardedRecordset(std::shared_ptr<dao::Recordset> inner, std::shared_ptr<WriteGuard> guard)
        : inner_(std::move(inner)), guard_(std::move(guard)) {}
    bool bof() const override { return inner_->bof(); }
    bool eof() const override { return inner_->eof(); }
    void moveFirst() override { inner_->moveFirst(); }
    void moveNext() override { inner_->moveNext(); }
    int recordCount() const override { return inner_->recordCount(); }
    std::shared_ptr<dao::Fields> fields() const override {
        return std::make_shared<GuardedFields>(inner_->fields(), guard_);
    }
    void edit() override {
        guarded([&] {
            if (guard_->takeLock) guard_->takeLock();
            inner_->edit();
        });
    }
    void update() override {
        guarded([&] { inner_->update(); });
    }
    void cancelUpdate() override { inner_->cancelUpdate(); }
    bool editing() const override { return inner_->editing(); }

  private:
    template <class Step>
    void guarded(Step step) {
        try {
            step();
        } catch (const Error& e) {
            guard_->note(e);
            throw;
        }
    }

    std::shared_ptr<dao::Recordset> inner_;
    std::shared_ptr<WriteGuard> guard_;
};

class GuardedDatabase final : public dao::Database {
  public:
    GuardedDatabase(std::shared_ptr<dao::Database> inner, std::shared_ptr<WriteGuard> guard)
        : inner_(std::move(inner)), guard_(std::move(guard)) {}
    std::string name() const override { return inner_->name(); }
    std::shared_ptr<dao::Recordset> openRecordset(const std::string& source,
                                                  dao::RecordsetType type) override {
        return std::make_shared<GuardedRecordset>(inner_->openRecordset(source, type), guard_);
    }
    void beginTrans() override { inner_->beginTrans(); }
    void beginExclusiveTrans(std::chrono::milliseconds patience) override {
        inner_->beginExclusiveTrans(patience);
    }
    void commitTrans() override { inner_->commitTrans(); }
    void rollback() override { inner_->rollback(); }

  private:
    std::shared_ptr<dao::Database> inner_;
    std::shared_ptr<WriteGuard> guard_;
};

}  // namespace

std::shared_ptr<dao::Database> guardDatabase(std::shared_ptr<dao::Database> database,
                                             std::shared_ptr<WriteGuard> guard) {
    return std::make_shared<GuardedDatabase>(std::move(database), std::move(guard));
}

namespace {

class SharingWorkspace final : public dao::Workspace {
  public:
    SharingWorkspace(std::shared_ptr<dao::Workspace> inner, std::string path,
                     std::shared_ptr<dao::Database> own)
        : inner_(std::move(inner)), path_(std::move(path)), own_(std::move(own)) {}
    std::shared_ptr<dao::Database> openDatabase(const std::string& path) override {
        if (own_ && path == path_) return own_;
        return inner_->openDatabase(path);
    }

  private:
    std::shared_ptr<dao::Workspace> inner_;
    std::string path_;
    std::shared_ptr<dao::Database> own_;
};

}  // namespace

std::shared_ptr<dao::Workspace> shareOwnDatabase(std::shared_ptr<dao::Workspace> inner,
                                                 std::string path,
                                                 std::shared_ptr<dao::Database> own) {
    return std::make_shared<SharingWorkspace>(std::move(inner), std::move(path), std::move(own));
}

}  // namespace tarvex::host
