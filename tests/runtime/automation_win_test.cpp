#include "runtime/automation.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/win_handles.h"

namespace {

const char script_control[] = "MSScriptControl.ScriptControl";

class AutomationTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(AutoCreate(engine, script_control));
    ASSERT_TRUE(AutoSetProperty(engine, "Language", "JavaScript"));
  }

  ComInit com;
  AutoObject engine;
};

TEST(AutoObjectTest, EmptyUntilCreatedAndAfterCleared) {
  ComInit com;
  AutoObject object;
  EXPECT_TRUE(AutoIsEmpty(object));
  ASSERT_TRUE(AutoCreate(object, script_control));
  EXPECT_EQ(AutoLastError(), 0);
  EXPECT_FALSE(AutoIsEmpty(object));
  AutoClear(object);
  EXPECT_TRUE(AutoIsEmpty(object));
}

TEST(AutoObjectTest, CreatesByClassIdentifier) {
  ComInit com;
  AutoObject object;
  ASSERT_TRUE(AutoCreate(object, "{0E59F1D5-1FBE-11D0-8FF2-00A0D10038BC}"));
  EXPECT_TRUE(AutoSetProperty(object, "Language", "JavaScript"));
  EXPECT_EQ(AutoCallNumber(object, "Eval", {"6 * 7"}), 42);
}

TEST_F(AutomationTest, FailedCreateLeavesTheVariableAsItWas) {
  AutoCallBool(engine, "AddCode", {"var marker = 'kept'"});
  for (const char *name : {"Lumiscribe.NoSuchClass", "", "{not-a-class-id}"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(AutoCreate(engine, name));
    EXPECT_LT(AutoLastError(), 0);
    EXPECT_EQ(AutoCallText(engine, "Eval", {"marker"}), "kept");
  }
}

TEST_F(AutomationTest, ResultsConvertToTheKindAskedFor) {
  EXPECT_TRUE(AutoCallBool(engine, "Eval", {"1 == 1"}));
  EXPECT_FALSE(AutoCallBool(engine, "Eval", {"1 == 2"}));
  EXPECT_TRUE(AutoCallBool(engine, "Eval", {"7"}));
  EXPECT_FALSE(AutoCallBool(engine, "Eval", {"0"}));
  EXPECT_EQ(AutoCallText(engine, "Eval", {"'abc'"}), "abc");
  EXPECT_EQ(AutoCallText(engine, "Eval", {"12.5"}), "12.5");
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {"'2.5'"}), 2.5);
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {"-3"}), -3);
  EXPECT_EQ(AutoLastError(), 0);
}

// A call binds functions first and then property reads; a write binds
// property writes first.
TEST_F(AutomationTest, PropertiesReadThroughTheCallPrimitives) {
  // The control reports the language by its own name.
  EXPECT_EQ(AutoCallText(engine, "Language"), "JScript");
  EXPECT_EQ(AutoLastError(), 0);
  EXPECT_FALSE(AutoSetProperty(engine, "Eval", "1"));
}

TEST_F(AutomationTest, UnconvertibleOrMissingResultsGiveEmptyValues) {
  // A method with no result converts to false.
  EXPECT_FALSE(AutoCallBool(engine, "AddCode", {"var x = 1"}));
  EXPECT_EQ(AutoLastError(), 0);
  EXPECT_FALSE(AutoCallBool(engine, "Eval", {"null"}));
  EXPECT_LT(AutoLastError(), 0);
  EXPECT_EQ(AutoCallText(engine, "Eval", {"null"}), "");
  EXPECT_LT(AutoLastError(), 0);
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {"'twelve'"}), 0);
  EXPECT_LT(AutoLastError(), 0);
  EXPECT_EQ(AutoCallText(engine, "Eval", {"undefined"}), "");
}

TEST_F(AutomationTest, FailedCallsGiveEmptyValuesAndSetTheError) {
  struct Case {
    const char *method;
    const char *argument;
  } cases[] = {
      {"Eval", "throw new Error('boom')"}, // an exception inside the engine
      {"Eval", "this is not script"},      // a syntax error
      {"Eval", "no_such_variable"},        // a reference error
      {"NoSuchMethod", "1"},               // a name the object does not have
      {"", "1"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(AutoCallText(engine, c.method, {c.argument}), "");
    EXPECT_LT(AutoLastError(), 0);
    EXPECT_EQ(AutoCallNumber(engine, c.method, {c.argument}), 0);
    EXPECT_FALSE(AutoCallBool(engine, c.method, {c.argument}));
  }
  EXPECT_FALSE(AutoSetProperty(engine, "NoSuchProperty", "x"));
  EXPECT_LT(AutoLastError(), 0);
}

TEST(AutoObjectTest, CallsOnAnEmptyVariableGiveEmptyValues) {
  AutoObject nothing;
  EXPECT_EQ(AutoCallText(nothing, "Eval", {"1"}), "");
  EXPECT_LT(AutoLastError(), 0);
  EXPECT_EQ(AutoCallNumber(nothing, "Eval", {"1"}), 0);
  EXPECT_FALSE(AutoCallBool(nothing, "Eval", {"1"}));
  EXPECT_FALSE(AutoSetProperty(nothing, "Language", "JavaScript"));
}

TEST_F(AutomationTest, ArgumentCountIsCheckedAgainstTheDeclaration) {
  EXPECT_EQ(AutoCallText(engine, "Eval", {"1", "2"}), "");
  EXPECT_LT(AutoLastError(), 0);
  // Omitted arguments at the end are dropped before the check.
  EXPECT_EQ(AutoCallText(engine, "Eval", {"1 + 1", AutoOmitted{}, AutoOmitted{}}), "2");
}

TEST_F(AutomationTest, ArgumentsChangeToTheDeclaredType) {
  // Eval declares a text parameter: numbers and flags arrive as their text.
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {std::int32_t{41}}), 41);
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {2.25}), 2.25);
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {std::int16_t{-7}}), -7);
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {std::uint8_t{200}}), 200);
}

TEST_F(AutomationTest, CodePage936TextSurvivesTheRoundTrip) {
  const Text chinese = "\xd6\xd0\xce\xc4\xca\xb6\xb1\xf0"; // four characters
  const Text trail_backslash = "\x95\x5c\xb1\x5c";         // trail bytes 0x5C
  EXPECT_EQ(AutoCallText(engine, "Eval", {"'" + chinese + "'"}), chinese);
  EXPECT_EQ(AutoCallText(engine, "Eval", {"'" + trail_backslash + "'"}), trail_backslash);
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {"'" + chinese + "'.length"}), 4);
  EXPECT_EQ(AutoCallNumber(engine, "Eval", {"'" + trail_backslash + "'.length"}), 2);
  // Wide text is passed as it is.
  EXPECT_EQ(AutoCallText(engine, "Eval", {std::u16string(u"'\u4e2d\u6587'")}), "\xd6\xd0\xce\xc4");
}

TEST_F(AutomationTest, TextResultEndsAtAZeroCharacter) {
  EXPECT_EQ(AutoCallText(engine, "Eval", {"'ab' + String.fromCharCode(0) + 'cd'"}), "ab");
}

TEST_F(AutomationTest, CopiesShareTheObject) {
  AutoObject second;
  AutoCopy(second, engine);
  EXPECT_FALSE(AutoIsEmpty(second));
  AutoCallBool(engine, "AddCode", {"var shared = 5"});
  EXPECT_EQ(AutoCallNumber(second, "Eval", {"shared"}), 5);
  AutoClear(engine);
  EXPECT_EQ(AutoCallNumber(second, "Eval", {"shared"}), 5);

  AutoObject empty_source;
  AutoCopy(second, empty_source);
  EXPECT_TRUE(AutoIsEmpty(second));
}

TEST_F(AutomationTest, LastErrorIsKeptPerThread) {
  EXPECT_EQ(AutoCallText(engine, "Eval", {"no_such_variable"}), "");
  ASSERT_LT(AutoLastError(), 0);
  std::int32_t other_thread_error = -1;
  std::thread([&] { other_thread_error = AutoLastError(); }).join();
  EXPECT_EQ(other_thread_error, 0);
  EXPECT_LT(AutoLastError(), 0);
}

// An automation object without type information that records how it was
// called, so the name lookup by GetIDsOfNames and the argument layout show.
class RecordingDispatch : public IDispatch {
public:
  struct Call {
    DISPID member = 0;
    WORD flags = 0;
    std::vector<VARTYPE> types; // as received: last argument first
    std::vector<HRESULT> codes; // scode of VT_ERROR arguments, else S_OK
    std::vector<DISPID> named;
    LONG first_long = 0;
  };

  std::vector<Call> calls;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch *>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override {
    *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT, LCID,
                                          DISPID *ids) override {
    if (std::wstring(names[0]) == L"Echo") {
      *ids = 7;
      return S_OK;
    }
    *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS *params,
                                   VARIANT *result, EXCEPINFO *, UINT *) override {
    Call call;
    call.member = member;
    call.flags = flags;
    for (UINT k = 0; k < params->cArgs; ++k) {
      call.types.push_back(params->rgvarg[k].vt);
      call.codes.push_back(params->rgvarg[k].vt == VT_ERROR ? params->rgvarg[k].scode : S_OK);
    }
    for (UINT k = 0; k < params->cNamedArgs; ++k)
      call.named.push_back(params->rgdispidNamedArgs[k]);
    if (params->cArgs > 0 && params->rgvarg[0].vt == VT_I4)
      call.first_long = params->rgvarg[0].lVal;
    calls.push_back(call);
    if (result) {
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(L"\x4e2d");
    }
    return S_OK;
  }
  ULONG references() const { return references_; }

private:
  ULONG references_ = 1;
};

TEST(AutomationFallbackTest, NamesWithoutTypeInformationAreLookedUpByName) {
  RecordingDispatch recorder;
  {
    AutoObject object;
    object.adopt(&recorder);
    recorder.AddRef();
    const Text text = "text";
    AutoObject nothing;
    EXPECT_EQ(AutoCallText(object, "Echo",
                           {text, AutoOmitted{}, true, std::int64_t{0x100000005}, 1.5f,
                            AutoDate{2.0}, nothing}),
              "\xd6\xd0");
    EXPECT_EQ(AutoCallText(object, "Unknown", {"x"}), "");
    EXPECT_LT(AutoLastError(), 0);
    EXPECT_TRUE(AutoSetProperty(object, "Echo", std::int32_t{3}));
  }
  EXPECT_EQ(recorder.references(), 1u);

  ASSERT_EQ(recorder.calls.size(), 2u);
  const RecordingDispatch::Call &call = recorder.calls[0];
  EXPECT_EQ(call.member, 7);
  EXPECT_EQ(call.flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  // Arguments arrive last first.
  const std::vector<VARTYPE> expected = {VT_DISPATCH, VT_DATE,  VT_R4,  VT_I4,
                                         VT_BOOL,     VT_ERROR, VT_BSTR};
  EXPECT_EQ(call.types, expected);
  EXPECT_EQ(call.codes[5], DISP_E_PARAMNOTFOUND);
  EXPECT_TRUE(call.named.empty());

  const RecordingDispatch::Call &write = recorder.calls[1];
  EXPECT_EQ(write.flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(write.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
  EXPECT_EQ(write.first_long, 3);
}

TEST(AutomationFallbackTest, SixtyFourBitIntegersPassTheirLowHalf) {
  RecordingDispatch recorder;
  AutoObject object;
  object.adopt(&recorder);
  recorder.AddRef();
  AutoCallText(object, "Echo", {std::int64_t{0x100000005}});
  ASSERT_EQ(recorder.calls.size(), 1u);
  EXPECT_EQ(recorder.calls[0].first_long, 5);
}

} // namespace
