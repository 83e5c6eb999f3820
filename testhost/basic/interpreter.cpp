// Walks the parsed program. Each step returns false when the program must stop going forward:
// either an exception was raised (a Try further out may catch it) or a fault ended the run. Values
// of a declared type are converted on every assignment, so a variable always holds its type.
#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

#include "basic.h"
#include "parser.h"
#include "values.h"

namespace testhost {

namespace {

struct Variable {
    VarType type;
    Value value;
};

class Interpreter {
public:
    Interpreter(ObjectModel& model, std::ostream& out, const Limits& limits)
        : model_(model), out_(out), limits_(limits) {}

    std::string run(const Block& program) {
        if (execBlock(program, nullptr)) return std::string();
        if (state_ == State::Raised) {
            std::string message = raisedMessage_.empty() ? model_.exceptionMessage(raised_) : raisedMessage_;
            fault_.at = raisedAt_;
            fault_.message = "unhandled exception: " + message;
        }
        return fault_.text();
    }

private:
    enum class State { Running, Raised, Failed };

    bool fail(Position at, const std::string& message) {
        state_ = State::Failed;
        fault_.at = at;
        fault_.message = message;
        return false;
    }

    bool step(Position at) {
        if (++steps_ <= limits_.maxSteps) return true;
        return fail(at, "the program ran for more than " + std::to_string(limits_.maxSteps) + " steps");
    }

    Variable* lookup(const std::string& key) {
        for (auto it = vars_.rbegin(); it != vars_.rend(); ++it) {
            if (it->key == key) return &it->variable;
        }
        return nullptr;
    }

    bool declare(Position at, const Declared& name, Variable v) {
        for (std::size_t i = scopeStarts_.back(); i < vars_.size(); ++i) {
            if (vars_[i].key == name.key) return fail(at, "'" + name.name + "' is already declared");
        }
        vars_.push_back(Slot{name.key, std::move(v)});
        return true;
    }

    void openScope() { scopeStarts_.push_back(vars_.size()); }
    void closeScope() {
        vars_.resize(scopeStarts_.back());
        scopeStarts_.pop_back();
    }

    // A result of the object model: a value, a raised exception, or a fault of the program.
    bool take(const CallResult& r, Position at, Value& out) {
        if (r.status == CallResult::Status::Ok) {
            out = r.value;
            if (out.kind == Value::Kind::Array && !out.elements) out.elements = std::make_shared<ValueList>();
            return true;
        }
        if (r.status == CallResult::Status::Error) return fail(at, r.message);
        state_ = State::Raised;
        raised_ = r.value;
        raisedAt_ = at;
        raisedMessage_ = r.message;
        if (raised_.object) {
            exceptions_.erase(std::remove_if(exceptions_.begin(), exceptions_.end(),
                                             [](const std::weak_ptr<HostObject>& w) { return w.expired(); }),
                              exceptions_.end());
            exceptions_.push_back(raised_.object);
        }
        return false;
    }

    bool isException(const Value& v) const {
        for (const auto& w : exceptions_) {
            if (!w.owner_before(v.object) && !v.object.owner_before(w) && !w.expired()) return true;
        }
        return false;
    }

    // Converts v to a declared type: numbers between Integer and Double, objects checked against
    // their class, arrays shared when their elements already have the type and copied otherwise.
    bool convert(const Value& v, const VarType& type, Position at, Value& out) {
        std::string why;
        if (type.isArray) {
            if (v.kind != Value::Kind::Array) return fail(at, describe(v) + " cannot be an array");
            if (v.elementKind == type.kind) {
                out = v;
                return true;
            }
            VarType element = type;
            element.isArray = false;
            out = makeArray(type.kind);
            out.elements->reserve(v.elements->size());
            for (const Value& e : *v.elements) {
                Value converted;
                if (!convert(e, element, at, converted)) return false;
                out.elements->push_back(converted);
            }
            return true;
        }
        if (type.kind == Value::Kind::Object) {
            if (v.kind == Value::Kind::Nil) {
                out = Value();
                return true;
            }
            if (v.kind != Value::Kind::Object || (!type.className.empty() && !model_.isA(v, type.className))) {
                return fail(at, describe(v) + " is not " + (type.className.empty() ? "an object" : "a " + type.className));
            }
            out = v;
            return true;
        }
        if (!convertScalar(v, type.kind, out, why)) return fail(at, why);
        return true;
    }

    bool execBlock(const Block& block, Variable* preset, const Declared& presetName = Declared()) {
        openScope();
        bool ok = true;
        if (preset) ok = declare(Position(), presetName, *preset);
        for (const auto& s : block) {
            if (!ok) break;
            ok = step(s->at) && exec(*s);
        }
        closeScope();
        return ok;
    }

    bool exec(const Stmt& s) {
        switch (s.kind) {
        case Stmt::Kind::Dim: return dim(s);
        case Stmt::Kind::Assign: return assign(s);
        case Stmt::Kind::Call: {
            Value ignored;
            return eval(*s.value, ignored);
        }
        case Stmt::Kind::Print: return print(s);
        case Stmt::Kind::If: return ifStatement(s);
        case Stmt::Kind::For: return forStatement(s);
        case Stmt::Kind::While: return whileStatement(s);
        case Stmt::Kind::Try: return tryStatement(s);
        }
        return fail(s.at, "unknown statement");
    }

    bool dim(const Stmt& s) {
        VarType type = scalarType(s.type.name);
        type.isArray = s.type.isArray;
        Value initial = defaultValue(type);
        if (s.arraySize) {
            Value size;
            if (!eval(*s.arraySize, size)) return false;
            std::string why;
            Value count;
            if (!convertScalar(size, Value::Kind::Integer, count, why)) return fail(s.arraySize->at, why);
            if (count.integer < -1 || count.integer >= static_cast<std::int64_t>(limits_.maxArrayElements)) {
                return fail(s.arraySize->at, "an array holds 0 to " + std::to_string(limits_.maxArrayElements) +
                                                 " elements, not " + std::to_string(count.integer + 1));
            }
            VarType element = type;
            element.isArray = false;
            initial.elements->assign(static_cast<std::size_t>(count.integer + 1), defaultValue(element));
        }
        if (s.init) {
            Value v;
            if (!eval(*s.init, v) || !convert(v, type, s.init->at, initial)) return false;
        }
        for (const Declared& name : s.names) {
            if (!declare(s.at, name, Variable{type, initial})) return false;
        }
        return true;
    }

    bool elementIndex(const Value& array, const Expr& e, std::size_t& index) {
        if (e.args.size() != 1) return fail(e.at, "an array takes one index, not " + std::to_string(e.args.size()));
        Value i;
        if (!eval(*e.args[0], i)) return false;
        Value converted;
        std::string why;
        if (!convertScalar(i, Value::Kind::Integer, converted, why)) return fail(e.args[0]->at, why);
        std::int64_t size = static_cast<std::int64_t>(array.elements->size());
        if (converted.integer < 0 || converted.integer >= size) {
            std::string bounds = size ? "(0 to " + std::to_string(size - 1) + ")" : "which is empty";
            return fail(e.args[0]->at, "index " + std::to_string(converted.integer) + " is outside the array " + bounds);
        }
        index = static_cast<std::size_t>(converted.integer);
        return true;
    }

    bool assign(const Stmt& s) {
        const Expr& t = *s.target;
        Value v;
        if (t.kind == Expr::Kind::Name) {
            Variable* var = lookup(t.key);
            if (!var) return fail(t.at, "'" + t.name + "' is not declared");
            if (!eval(*s.value, v)) return false;
            return convert(v, var->type, s.value->at, var->value);
        }
        if (t.kind == Expr::Kind::Apply && t.target->kind == Expr::Kind::Name) {
            Variable* var = lookup(t.target->key);
            if (!var || !var->type.isArray) return fail(t.at, "'" + t.target->name + "' is not an array variable");
            Value array = var->value;  // holds the elements while the index and value are worked out
            std::size_t index = 0;
            if (!elementIndex(array, t, index) || !eval(*s.value, v)) return false;
            VarType element = var->type;
            element.isArray = false;
            if (index >= array.elements->size()) return fail(t.at, "the array shrank during the assignment");
            return convert(v, element, s.value->at, (*array.elements)[index]);
        }
        if (t.kind == Expr::Kind::Member && !t.hasArgs && t.target->kind == Expr::Kind::Name && !lookup(t.target->key)) {
            if (!eval(*s.value, v)) return false;
            Value ignored;
            return take(model_.setShared(t.target->name, t.name, v), t.at, ignored);
        }
        if (t.kind == Expr::Kind::Member) return fail(t.at, "'" + t.name + "' cannot be assigned to");
        return fail(t.at, "this cannot be assigned to");
    }

    bool print(const Stmt& s) {
        std::string text;
        if (s.value) {
            Value v;
            if (!eval(*s.value, v)) return false;
            if (!formatValue(v, text)) return fail(s.value->at, "Print cannot write " + describe(v));
        }
        out_ << text << '\n';
        return true;
    }

    bool condition(const Expr& e, bool& out) {
        Value v;
        if (!eval(e, v)) return false;
        if (v.kind != Value::Kind::Boolean) return fail(e.at, "the condition is " + describe(v) + ", not a Boolean");
        out = v.boolean;
        return true;
    }

    bool ifStatement(const Stmt& s) {
        for (const Branch& b : s.branches) {
            bool taken = true;
            if (b.condition && !condition(*b.condition, taken)) return false;
            if (taken) return execBlock(b.body, nullptr);
        }
        return true;
    }

    bool whileStatement(const Stmt& s) {
        const Branch& loop = s.branches[0];
        for (;;) {
            bool more = false;
            if (!step(s.at) || !condition(*loop.condition, more)) return false;
            if (!more) return true;
            if (!execBlock(loop.body, nullptr)) return false;
        }
    }

    bool forStatement(const Stmt& s) {
        openScope();
        bool ok = forLoop(s);
        closeScope();
        return ok;
    }

    bool forLoop(const Stmt& s) {
        const Declared& name = s.names[0];
        Value from, limit, stepBy = integerValue(1);
        if (!eval(*s.init, from) || !eval(*s.limit, limit) || (s.step && !eval(*s.step, stepBy))) return false;
        if (s.declaresCounter) {
            VarType type = scalarType(s.type.name);
            if (!declare(s.at, name, Variable{type, defaultValue(type)})) return false;
        }
        Variable* counter = lookup(name.key);
        if (!counter) return fail(s.at, "'" + name.name + "' is not declared");
        const VarType type = counter->type;
        if (type.isArray || (type.kind != Value::Kind::Integer && type.kind != Value::Kind::Double)) {
            return fail(s.at, "the loop counter '" + name.name + "' must be an Integer or a Double");
        }
        std::string why;
        Value end, increment;
        if (!convertScalar(limit, Value::Kind::Double, end, why)) return fail(s.limit->at, why);
        if (!convertScalar(stepBy, type.kind, increment, why)) return fail(s.step ? s.step->at : s.at, why);
        if (s.downTo) {
            Value negated;
            applyUnary(Op::Neg, increment, negated, why);
            increment = negated;
        }
        if (!convert(from, type, s.init->at, counter->value)) return false;
        const bool upward = type.kind == Value::Kind::Integer ? increment.integer >= 0 : increment.number >= 0;
        for (;;) {
            if (!step(s.at)) return false;
            counter = lookup(name.key);
            Value current;
            convertScalar(counter->value, Value::Kind::Double, current, why);
            if (upward ? current.number > end.number : current.number < end.number) return true;
            if (!(current.number == current.number)) return true;  // a NaN counter never reaches its end
            if (!execBlock(s.branches[0].body, nullptr)) return false;
            counter = lookup(name.key);
            Value next;
            if (!applyBinary(Op::Add, counter->value, increment, limits_, next, why)) return fail(s.at, why);
            if (!convert(next, type, s.at, counter->value)) return false;
        }
    }

    bool tryStatement(const Stmt& s) {
        if (execBlock(s.branches[0].body, nullptr)) return true;
        if (state_ != State::Raised) return false;
        Value exception = raised_;
        for (const CatchClause& c : s.catches) {
            if (!c.className.empty() && !model_.isA(exception, c.className)) continue;
            state_ = State::Running;
            if (c.variable.key.empty()) return execBlock(c.body, nullptr);
            Variable v{scalarType(c.className.empty() ? "Object" : c.className), exception};
            return execBlock(c.body, &v, c.variable);
        }
        return false;
    }

    bool evalArgs(const ExprList& args, ValueList& out) {
        out.reserve(args.size());
        for (const ExprPtr& a : args) {
            Value v;
            if (!eval(*a, v)) return false;
            out.push_back(std::move(v));
        }
        return true;
    }

    bool eval(const Expr& e, Value& out) {
        switch (e.kind) {
        case Expr::Kind::Literal: out = e.value; return true;
        case Expr::Kind::Name: {
            Variable* var = lookup(e.key);
            if (!var) return fail(e.at, "'" + e.name + "' is not declared");
            out = var->value;
            return true;
        }
        case Expr::Kind::Unary: {
            Value v;
            std::string why;
            if (!eval(*e.target, v)) return false;
            if (!applyUnary(e.op, v, out, why)) return fail(e.at, why);
            return true;
        }
        case Expr::Kind::Binary: return binary(e, out);
        case Expr::Kind::New: {
            ValueList args;
            if (!evalArgs(e.args, args)) return false;
            return take(model_.construct(e.name, args), e.at, out);
        }
        case Expr::Kind::Member: return member(e, out);
        case Expr::Kind::Apply: return apply(e, out);
        }
        return fail(e.at, "unknown expression");
    }

    bool binary(const Expr& e, Value& out) {
        Value a, b;
        std::string why;
        if (!eval(*e.target, a)) return false;
        // And and Or on Booleans stop as soon as the left side decides.
        if (a.kind == Value::Kind::Boolean && ((e.op == Op::And && !a.boolean) || (e.op == Op::Or && a.boolean))) {
            out = a;
            return true;
        }
        if (!eval(*e.right, b)) return false;
        if (!applyBinary(e.op, a, b, limits_, out, why)) return fail(e.at, why);
        return true;
    }

    bool member(const Expr& e, Value& out) {
        ValueList args;
        const Expr& t = *e.target;
        if (t.kind == Expr::Kind::Name && !lookup(t.key)) {  // ClassName.member
            return evalArgs(e.args, args) && take(model_.callShared(t.name, e.name, args), e.at, out);
        }
        Value target;
        if (!eval(t, target) || !evalArgs(e.args, args)) return false;
        if (target.kind == Value::Kind::Array) return arrayMember(target, e, args, out);
        if (target.kind == Value::Kind::Nil) return fail(e.at, "'" + e.name + "' was asked of Nil");
        if (target.kind != Value::Kind::Object) return fail(e.at, describe(target) + " has no member '" + e.name + "'");
        if (e.key == "message" && args.empty() && isException(target)) {
            out = stringValue(model_.exceptionMessage(target));
            return true;
        }
        return take(model_.call(target, e.name, args), e.at, out);
    }

    bool arrayMember(const Value& array, const Expr& e, const ValueList& args, Value& out) {
        const std::string& name = e.key;
        if ((name == "ubound" || name == "lastindex" || name == "count") && args.empty()) {
            out = integerValue(static_cast<std::int64_t>(array.elements->size()) - (name == "count" ? 0 : 1));
            return true;
        }
        if ((name == "append" || name == "add") && args.size() == 1) {
            if (array.elements->size() >= limits_.maxArrayElements) {
                return fail(e.at, "an array holds at most " + std::to_string(limits_.maxArrayElements) + " elements");
            }
            VarType element;
            element.kind = array.elementKind;
            Value v;
            if (!convert(args[0], element, e.args[0]->at, v)) return false;
            array.elements->push_back(v);
            out = Value();
            return true;
        }
        return fail(e.at, "an array has no member '" + e.name + "' taking " + std::to_string(args.size()) + " arguments");
    }

    bool apply(const Expr& e, Value& out) {
        const Expr& t = *e.target;
        if (t.kind == Expr::Kind::Name && !lookup(t.key)) {  // a built-in function
            ValueList args;
            if (!evalArgs(e.args, args)) return false;
            std::string why;
            if (callBuiltin(t.key, args, limits_, out, why)) return true;
            return fail(e.at, why.empty() ? "'" + t.name + "' is neither declared nor a function" : why);
        }
        Value target;
        if (!eval(t, target)) return false;
        if (target.kind != Value::Kind::Array) return fail(e.at, describe(target) + " cannot be indexed");
        std::size_t index = 0;
        if (!elementIndex(target, e, index)) return false;
        out = (*target.elements)[index];
        return true;
    }

    ObjectModel& model_;
    std::ostream& out_;
    const Limits& limits_;
    // Variables of the open blocks, innermost last: programs hold few, so a search from the end is
    // quick, and a deque keeps them in place while blocks open and close.
    struct Slot {
        std::string key;
        Variable variable;
    };
    std::deque<Slot> vars_;
    std::vector<std::size_t> scopeStarts_;
    std::int64_t steps_ = 0;
    State state_ = State::Running;
    Fault fault_;
    Value raised_;
    Position raisedAt_;
    std::string raisedMessage_;
    std::vector<std::weak_ptr<HostObject>> exceptions_;  // raised ones, for e.Message
};

}  // namespace

std::string checkSyntax(const std::string& source, const Limits& limits) {
    Block program;
    Fault fault;
    return parseProgram(source, limits, program, fault) ? std::string() : fault.text();
}

std::string runProgram(const std::string& source, ObjectModel& model, std::ostream& out, const Limits& limits) {
    Block program;
    Fault fault;
    if (!parseProgram(source, limits, program, fault)) return fault.text();
    return Interpreter(model, out, limits).run(program);
}

}  // namespace testhost
