// Every fault of a program is reported with its position and stops the program; hostile text ends
// in such a report too, never in a crash, a hang or an exhausted stack.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "basic.h"
#include "fakemodel.h"

namespace {

using basic_test::FakeModel;

std::string runError(const std::string& source, const testhost::Limits& limits = testhost::Limits()) {
    FakeModel model;
    std::ostringstream out;
    return testhost::runProgram(source, model, out, limits);
}

struct Case {
    const char* program;
    const char* error;
};

TEST(BasicErrors, SyntaxFaultsArePlacedWhereTheyAre) {
    const Case cases[] = {
        {"Dim s As String = \"abc", "line 1, column 19: unterminated string"},
        {"Dim x As Integer\nx = 1 $ 2", "line 2, column 7: unexpected '$'"},
        {"Dim x Integer", "line 1, column 7: expected 'As' and a type after the variable name, found 'Integer'"},
        {"If 1 = 1\nEnd If", "line 1, column 9: expected 'Then' after the condition, found the end of the line"},
        {"Print 1\nIf True Then\n  Print 2\n", "line 2, column 1: If without End If"},
        {"If True Then\nPrint 1\nEnd Try", "line 3, column 5: expected 'If' after End, found 'Try'"},
        {"For i As Integer = 0 To 3\nNext j", "line 2, column 6: Next names 'j', the loop counts 'i'"},
        {"For i As Integer = 0 3\nNext", "line 1, column 22: expected 'To' after the start value, found a number"},
        {"\n\nWhile True\n", "line 3, column 1: While without Wend"},
        {"  Next", "line 1, column 3: 'Next' without For"},
        {"Wend", "line 1, column 1: 'Wend' without While"},
        {"Catch e", "line 1, column 1: 'Catch' without Try"},
        {"Try\nPrint 1\nEnd Try", "line 3, column 1: Try without Catch"},
        {"Select Case x", "line 1, column 1: 'Select' is not understood here"},
        {"Dim x As Integer = Me.size", "line 1, column 20: 'Me' is not understood here"},
        {"Dim next As Integer", "line 1, column 5: 'next' is a keyword and cannot be a variable name"},
        {"Print (1 + 2", "line 1, column 13: expected ')' to close the parenthesis, found the end of the line"},
        {"c.addTitle(1,)", "line 1, column 14: expected a value, found ')'"},
        {"c.", "line 1, column 3: expected a name after '.', found the end of the line"},
        {"Dim k As Color = &c12345", "line 1, column 18: a colour is written &c and six hexadecimal digits"},
        {"Dim k As Integer = &h12345678123456781", "line 1, column 20: the number has more than 16 hexadecimal digits"},
        {"Dim i As Integer = 99999999999999999999", "line 1, column 20: the number 99999999999999999999 is too large"},
        {"Dim d As Double = 1e999", "line 1, column 19: the number 1e999 is too large"},
        {"Dim d As Double = 12abc", "line 1, column 21: unexpected 'a' in a number"},
        {"Print 1 2", "line 1, column 9: expected the end of the line, found a number"},
        {"Dim x As Integer\nx", "line 2, column 1: expected a call or an assignment"},
        {"Dim a(1), b(2) As Integer", "line 1, column 1: declare one array per Dim"},
        {"Dim a, b As Integer = 1", "line 1, column 1: only one variable can be given a value in its Dim"},
        {"Dim c As New 5", "line 1, column 14: expected a class name after New, found a number"},
        // Continued and CRLF lines count as the lines they are.
        {"Dim x As Double = 1 + _\r\n  2 +\r\nPrint x", "line 2, column 6: expected a value, found the end of the line"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(testhost::checkSyntax(c.program), c.error) << c.program;
        EXPECT_EQ(runError(c.program), c.error) << c.program;
    }
}

TEST(BasicErrors, RuntimeFaultsStopTheProgramAtTheirPosition) {
    const Case cases[] = {
        {"Print y", "line 1, column 7: 'y' is not declared"},
        {"y = 2", "line 1, column 1: 'y' is not declared"},
        {"For i = 0 To 2\nNext", "line 1, column 1: 'i' is not declared"},
        {"Dim s As String = 5", "line 1, column 19: an Integer cannot be a String"},
        {"Dim b As Boolean\nb = \"True\"", "line 2, column 5: a String cannot be a Boolean"},
        {"Dim k As Color = &hffffff", "line 1, column 18: an Integer cannot be a Color"},
        {"Dim i As Integer = 1\nDim i As Double", "line 2, column 1: 'i' is already declared"},
        {"Dim a(2) As Integer\na(3) = 1", "line 2, column 3: index 3 is outside the array (0 to 2)"},
        {"Dim a() As Integer\nPrint a(0)", "line 2, column 9: index 0 is outside the array which is empty"},
        {"Dim a() As Integer = Array(1, \"x\")", "line 1, column 22: Array cannot hold an Integer and a String together"},
        {"Dim a() As String = Array(1, 2)", "line 1, column 21: an Integer cannot be a String"},
        {"Dim a() As Integer = 5", "line 1, column 22: an Integer cannot be an array"},
        {"Dim a() As Integer\na.Append(\"x\")", "line 2, column 10: a String cannot be an Integer"},
        {"Dim a() As Integer\na.Remove(0)", "line 2, column 3: an array has no member 'Remove' taking 1 arguments"},
        {"Dim i As Integer = 1 \\ 0", "line 1, column 22: division by zero"},
        {"Dim i As Integer = 1 Mod 0", "line 1, column 22: division by zero"},
        {"Print \"a\" + 1", "line 1, column 11: '+' cannot combine a String and an Integer"},
        {"Print True < False", "line 1, column 12: '<' cannot order a Boolean"},
        {"Print 1 Is 1", "line 1, column 9: 'Is' compares objects, not an Integer"},
        {"Print -\"x\"", "line 1, column 7: '-' cannot take a String"},
        {"If 1 Then\nEnd If", "line 1, column 4: the condition is an Integer, not a Boolean"},
        {"While \"yes\"\nWend", "line 1, column 7: the condition is a String, not a Boolean"},
        {"Dim c As New PVXYChartRQX(1, 1)\nc.nosuch", "line 2, column 3: PVXYChartRQX has no method 'nosuch'"},
        {"Dim c As New PVXYChartRQX(1, 1)\nc.xAxis = Nil", "line 2, column 3: 'xAxis' cannot be assigned to"},
        {"Dim c As New Mystery(1)", "line 1, column 14: unknown class Mystery"},
        {"Dim p As PVXYChartRQX\np.addTitle(\"x\")", "line 2, column 3: 'addTitle' was asked of Nil"},
        {"Dim i As Integer\ni.foo", "line 2, column 3: an Integer has no member 'foo'"},
        {"Dim i As Integer\nPrint i(1)", "line 2, column 7: an Integer cannot be indexed"},
        {"Print foo(1)", "line 1, column 7: 'foo' is neither declared nor a function"},
        {"Print Sqrt(\"x\")", "line 1, column 7: sqrt takes a number, not a String"},
        {"Print Str(1, 2)", "line 1, column 7: Str takes 1 argument, not 2"},
        {"Dim c As New PVXYChartRQX(1, 1)\nPrint c", "line 2, column 7: Print cannot write an object"},
        {"Dim a(-5) As Integer", "line 1, column 7: an array holds 0 to 16777216 elements, not -4"},
        {"Dim x As Integer = 1e30", "line 1, column 20: the value 1e+30 does not fit an Integer"},
        {"PVBaseChartRQX.Nope = 1", "line 1, column 16: no shared property Nope"},
        {"Print PVBaseChartRQX.nope", "line 1, column 22: PVBaseChartRQX has no shared member 'nope'"},
        {"Dim l As PVLineLayerRQX = 3", "line 1, column 27: an Integer is not a PVLineLayerRQX"},
        {"For i As String = 1 To 2\nNext", "line 1, column 1: the loop counter 'i' must be an Integer or a Double"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(testhost::checkSyntax(c.program), "") << c.program;
        EXPECT_EQ(runError(c.program), c.error) << c.program;
    }
}

TEST(BasicErrors, LimitsEndRunawayPrograms) {
    testhost::Limits limits;
    limits.maxSteps = 1000;
    EXPECT_EQ(runError("While True\nWend", limits), "line 1, column 1: the program ran for more than 1000 steps");
    EXPECT_EQ(runError("For i As Integer = 0 To 1 Step 0\nNext", limits),
              "line 1, column 1: the program ran for more than 1000 steps");
    EXPECT_EQ(runError("Dim s As String = \"ab\"\nWhile True\n  s = s + s\nWend"),
              "line 3, column 9: a string would be longer than 16777216 bytes");
    limits.maxArrayElements = 100;
    EXPECT_EQ(runError("Dim a() As Double\nWhile True\n  a.Append(1)\nWend", limits),
              "line 3, column 5: an array holds at most 100 elements");
    EXPECT_EQ(runError("Dim a(100000000000) As Double"),
              "line 1, column 7: an array holds 0 to 16777216 elements, not 100000000001");
    EXPECT_EQ(runError(std::string(2 << 20, ' ')), "line 1, column 1: the program is longer than 1048576 bytes");
}

// Nesting that would take the parser's or the interpreter's recursion past its stack.
TEST(BasicErrors, DeepNestingIsRefusedWhateverBuildsIt) {
    const int n = 20000;
    auto repeat = [](const std::string& s, int times) {
        std::string out;
        for (int i = 0; i < times; ++i) out += s;
        return out;
    };
    const std::string deep = "the expression is nested more than 256 deep";
    const std::vector<std::string> programs = {
        "Print " + repeat("(", n) + "1" + repeat(")", n),
        "Print " + repeat("-", n) + "1",
        "Print " + repeat("Not ", n) + "True",
        "Print 1" + repeat(" + 1", n),
        "Print 2" + repeat(" ^ 2", n),
        "Print a" + repeat(".b", n),
        "Print f" + repeat("(1)", n),
        "Print Array(" + repeat("Array(", n) + ")",
    };
    for (const std::string& p : programs) {
        std::string error = testhost::checkSyntax(p);
        EXPECT_NE(error.find(deep), std::string::npos) << p.substr(0, 40) << ": " << error;
    }
    std::string ifs = repeat("If True Then\n", 100) + repeat("End If\n", 100);
    EXPECT_EQ(testhost::checkSyntax(ifs), "line 65, column 1: blocks are nested more than 64 deep");
    // Just within the limits, both still parse and run.
    std::string within = "Print Str(" + repeat("(", 200) + "1" + repeat(")", 200) + ")\n" + repeat("If True Then\n", 64) +
                         "Print 2\n" + repeat("End If\n", 64);
    FakeModel model;
    std::ostringstream out;
    EXPECT_EQ(testhost::runProgram(within, model, out), "");
    EXPECT_EQ(out.str(), "1\n2\n");
}

// Random bytes and random shuffles of program tokens never crash and every report has a position.
TEST(BasicErrors, RandomTextEndsInAPlacedReport) {
    std::mt19937 random(27);
    const std::vector<std::string> pieces = {"Dim ", "x", " As ", "Integer", " = ", "1", "(", ")", "\n", "If ", " Then",
                                             "End If", "For ", " To ", "Next", "While ", "Wend", "Try", "Catch ",
                                             "End Try", "\"s", "\"", "&h", "&cff00ff", ".", ",", " + ", " And ", "Print ",
                                             "New ", "PVXYChartRQX", "c", "_\n", "'", "//", "1e308", "\r", "\xff", "Array("};
    testhost::Limits limits;
    limits.maxSteps = 5000;
    limits.maxArrayElements = 1000;
    for (int round = 0; round < 3000; ++round) {
        std::string program;
        int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            if (round % 2) {
                program += static_cast<char>(random() % 256);
            } else {
                program += pieces[random() % pieces.size()];
            }
        }
        FakeModel model;
        model.permissive = true;
        std::ostringstream out;
        std::string error = testhost::runProgram(program, model, out, limits);
        if (!error.empty()) {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << program;
        }
    }
}

}  // namespace
