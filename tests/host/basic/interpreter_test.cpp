// Programs run against the fake object model: what they print and what reaches the objects.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "basic.h"
#include "fakemodel.h"

namespace {

using basic_test::FakeModel;

struct Outcome {
    std::string error;
    std::string printed;
};

Outcome runBasic(FakeModel& model, const std::string& source) {
    std::ostringstream out;
    Outcome r;
    r.error = testhost::runProgram(source, model, out);
    r.printed = out.str();
    return r;
}

Outcome runBasic(const std::string& source) {
    FakeModel model;
    return runBasic(model, source);
}

TEST(BasicEvaluation, OperatorsFollowTheHostsTypesAndPrecedence) {
    Outcome r = runBasic(R"(Dim i As Integer = 7 \ 2
Dim d As Double = 7 / 2
Print Str(i) + " " + Str(d)
Print Str(2 + 3 * 4 ^ 2) & " " & Str(-2 ^ 2) & " " & Str(2 ^ -1)
Print Str(17 Mod 5) & " " & Str(-7 \ 2) & " " & Str(7.5 Mod 2)
Dim n As Integer = -3.9
Print Str(n) + " " + Str(&hff And &h0f) + " " + Str(Not 0) + " " + Str(6 Xor 3)
Print Str(1 < 2 And "abc" = "ABC") + " " + Str("a" < "B") + " " + Str(2 <= 1.5 Or 1 <> 1)
Print Str(9223372036854775807 + 1)
Print Str(&hffffffffffffffff) + " " + Str(&hFFFF0001)
Print Str(&c336699) + " " + Str(&c336699 = &c336699)
Print Str(Sqrt(16)) + " " + Str(Abs(-4)) + " " + Str(Floor(-1.5)) + " " + Str(Pow(2, 10))
Print "say ""hi"""
Print
Print Str(False Or True And False)
)");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.printed,
              "3 3.5\n50 -4 0.5\n2 -3 1.5\n-3 15 -1 5\nTrue True False\n-9223372036854775808\n-1 4294901761\n"
              "&c336699 True\n4 4 -2 1024\nsay \"hi\"\n\nFalse\n");
}

TEST(BasicEvaluation, LoopsBranchesAndScopes) {
    Outcome r = runBasic(R"(Dim total As Integer
For i As Integer = 0 To 9 Step 3
  total = total + i        // 0 3 6 9
Next i
dim COUNT as integer = 0
FOR k AS double = 1 DOWNTO 0 STEP 0.25
  count = Count + 1
NEXT
Dim j As Integer = 5
While j > 0
  Dim inside As Integer = j   ' declared again on every round
  j = j - 2
Wend
For j = 1 To 0
  total = -1000
Next
If total > 100 Then
  Print "big"
ElseIf total = 18 Then
  Print "eighteen " + Str(count) + " " + Str(j)
Else
  Print "other"
End If
If j > 0 Then Print "single line"
Dim x As Double = 1.0 _   ' continued
  + 2
If x = 3 Then Print "continued"
)");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.printed, "eighteen 5 1\nsingle line\ncontinued\n");
}

TEST(BasicEvaluation, ArraysAreTypedAndSharedByReference) {
    Outcome r = runBasic(R"(Dim a() As Double = Array(1, 2, 3)
Dim b() As Double = a
b(0) = 9
Dim c(2) As Integer
c(1) = 5.7
a.Append(4)
Dim words() As String = Array("x", "y")
words.Append "z"
Dim mixed() As Double = Array(1, 2.5)
Print Str(a(0)) + " " + Str(UBound(a)) + " " + Str(c(1)) + " " + Str(c(2)) + " " + Str(words.Ubound) + " " + Str(mixed(1))
Dim empty() As Integer
Dim none(-1) As Integer
Print Str(empty.Count) + " " + Str(UBound(none))
)");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.printed, "9 3 5 0 2 2.5\n0 -1\n");
}

// Arguments reach the objects as the program wrote them (left-out defaults stay out), with the
// kinds the program's values have; chained calls and shared members go to the right place.
TEST(BasicCalls, ArgumentsAndTargetsAreWhatTheProgramWrote) {
    FakeModel model;
    Outcome r = runBasic(model, R"(Dim c As New PVXYChartRQX(600, 400)
c.addTitle("Sales", "bold")
c.ADDTITLE "Sales"
c.xAxis.setTitle("x")
c.xAxis().setTitle "y"
Dim l As PVLineLayerRQX = c.addLineLayer(Array(1.5, 2), &hff0000, "A")
l.setLineWidth 2
c.addLegend(1, -2).setBackground(PVBaseChartRQX.kCircleSymbol, &c112233)
PVBaseChartRQX.ScaleFactor = 0.5
Print Str(PVBaseChartRQX.ScaleFactor)
Dim twice As Double = 2
Call c.echo(twice, True, Nil, l)
Dim back As Integer = c.echo(3)
Print Str(back + PVBaseChartRQX.RGB(1, 2, 3))
)");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.printed, "1\n66054\n");
    const std::vector<std::string> expected = {
        "new PVXYChartRQX(i600, i400)",
        "#1.addTitle(s\"Sales\", s\"bold\")",
        "#1.ADDTITLE(s\"Sales\")",
        "#1.xAxis()",
        "#2.setTitle(s\"x\")",
        "#1.xAxis()",
        "#3.setTitle(s\"y\")",
        "#1.addLineLayer([d1.5,d2], i16711680, s\"A\")",
        "#4.setLineWidth(i2)",
        "#1.addLegend(i1, i-2)",
        "PVBaseChartRQX.kCircleSymbol()",
        "#5.setBackground(i7, c&h112233)",
        "PVBaseChartRQX.ScaleFactor = d0.5",
        "PVBaseChartRQX.ScaleFactor()",
        "#1.echo(d2, b1, nil, #4)",
        "#1.echo(i3)",
        "PVBaseChartRQX.RGB(i1, i2, i3)",
    };
    EXPECT_EQ(model.log, expected);
}

TEST(BasicCalls, ChildrenAreCheckedAgainstTheirDeclaredClass) {
    Outcome r = runBasic(R"(Dim p As New PVPieChartRQX(300, 300)
Dim s As PVSectorRQX = p.sector(99)
If s Is Nil Then Print "no sector 99"
s = p.sector(2)
If s <> Nil Then Print "sector 2"
Dim layer As PVLayerRQX = New PVXYChartRQX(10, 10).addLineLayer()
Dim anything As Object = layer
If anything = layer Then Print "same layer"
Dim hollow() As Double = p.hollowArray
hollow.Append(1)
Print Str(UBound(p.hollowArray)) + " " + Str(hollow.Count)
Dim wrong As PVLineLayerRQX = p.xAxis
)");
    EXPECT_EQ(r.printed, "no sector 99\nsector 2\nsame layer\n-1 1\n");
    EXPECT_EQ(r.error, "line 12, column 33: an object is not a PVLineLayerRQX");
}

TEST(BasicTryCatch, HandlersMatchByClassByParentOrCatchAll) {
    Outcome r = runBasic(R"(Dim c As New PVXYChartRQX(0, 400)
Try
  c.addTitle("x")
  Print "not reached"
Catch e As OutOfBoundsException
  Print "wrong handler"
Catch e As PVNotInitialzedExceptionRQX
  Print "class: " + e.Message
End Try
Try
  c.addTitle "x"
Catch err As RuntimeException
  Print "parent: " + err.message
End Try
Try
  c.xAxis
Catch
  Print "untyped"
End Try
Dim fine As New PVXYChartRQX(10, 10)
Try
  Try
    fine.outOfRange
  Catch e As PVNotInitialzedExceptionRQX
    Print "inner"
  End Try
  Print "skipped"
Catch e As OutOfBoundsException
  Print "outer: " + e.Message
End Try
Print "after"
c.addTitle("uncaught")
Print "never"
)");
    EXPECT_EQ(r.printed,
              "class: Object not initialzed correctly.\nparent: Object not initialzed correctly.\nuntyped\n"
              "outer: index out of range\nafter\n");
    EXPECT_EQ(r.error, "line 32, column 3: unhandled exception: Object not initialzed correctly.");
}

TEST(BasicTryCatch, FaultsOfTheProgramAreNotExceptions) {
    Outcome r = runBasic(R"(Dim c As New PVXYChartRQX(10, 10)
Try
  c.noSuchMethod(1)
Catch
  Print "caught"
End Try
)");
    EXPECT_EQ(r.printed, "");
    EXPECT_EQ(r.error, "line 3, column 5: PVXYChartRQX has no method 'noSuchMethod'");
}

}  // namespace
