#pragma once
// Late-bound calls: a host looks up a member's dispatch identifier by name (caselessly) and
// invokes it with Variant arguments as a method, a property get or a property put.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/com/member_name.h"
#include "platform/variant/variant.h"

namespace tarvex::com {

using DispId = std::int32_t;

enum class InvokeKind { Method, PropertyGet, PropertyPut };

namespace comerr {
inline constexpr int memberNotFound = 438;  // object does not support the property or method
inline constexpr int wrongArguments = 450;  // wrong number of arguments or invalid assignment
inline constexpr int cannotCreate = 429;    // the component cannot create the object
}  // namespace comerr

// An outgoing event a class declares.
struct EventDescription {
    std::string name;
    DispId id;
};

// An object callable by name.
class Dispatch : public Object {
  public:
    // The member's identifier; the name is compared caselessly. Error 438 when unknown.
    virtual DispId idOfName(const std::string& name) const = 0;
    // Invokes a member. Errors: 438 unknown id or a kind the member lacks, 450 wrong number of
    // arguments; any error of the member itself passes through.
    virtual Variant invoke(DispId id, InvokeKind kind, const std::vector<Variant>& arguments) = 0;
    // The events the class declares (for hosts that connect to them).
    virtual std::vector<EventDescription> events() const { return {}; }

    // Shorthands by name.
    Variant call(const std::string& name, const std::vector<Variant>& arguments = {}) {
        return invoke(idOfName(name), InvokeKind::Method, arguments);
    }
    Variant get(const std::string& name) {
        return invoke(idOfName(name), InvokeKind::PropertyGet, {});
    }
    void put(const std::string& name, const Variant& value) {
        invoke(idOfName(name), InvokeKind::PropertyPut, {value});
    }
};

// The members of a class T as a table: names, identifiers and how to call each.
template <class T>
class DispatchTable {
  public:
    using Method = std::function<Variant(T&, const std::vector<Variant>&)>;
    using Getter = std::function<Variant(const T&)>;
    using Setter = std::function<void(T&, const Variant&)>;

    DispatchTable& method(std::string name, DispId id, std::size_t arity, Method body) {
        members_.push_back({std::move(name), id, arity, std::move(body), {}, {}});
        return *this;
    }
    DispatchTable& property(std::string name, DispId id, Getter get, Setter put) {
        members_.push_back({std::move(name), id, 0, {}, std::move(get), std::move(put)});
        return *this;
    }

    DispId idOfName(const std::string& name) const {
        for (const auto& m : members_)
            if (sameName(m.name, name)) return m.id;
        throw Error(comerr::memberNotFound);
    }

    // A property read may come as a method call without arguments, as hosts' late binding
    // does; a put takes exactly one argument.
    Variant invoke(T& target, DispId id, InvokeKind kind, const std::vector<Variant>& args) const {
        const Member& m = find(id);
        if (m.method) {
            if (kind == InvokeKind::PropertyPut) throw Error(comerr::memberNotFound);
            if (args.size() != m.arity) throw Error(comerr::wrongArguments);
            return m.method(target, args);
        }
        if (kind == InvokeKind::PropertyPut) {
            if (args.size() != 1) throw Error(comerr::wrongArguments);
            m.put(target, args.front());
            return Variant();
        }
        if (!args.empty()) throw Error(comerr::wrongArguments);
        return m.get(target);
    }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& m : members_) out.push_back(m.name);
        return out;
    }

  private:
    struct Member {
        std::string name;
        DispId id;
        std::size_t arity;
        Method method;
        Getter get;
        Setter put;
    };
    const Member& find(DispId id) const {
        for (const auto& m : members_)
            if (m.id == id) return m;
        throw Error(comerr::memberNotFound);
    }
    std::vector<Member> members_;
};

}  // namespace tarvex::com
