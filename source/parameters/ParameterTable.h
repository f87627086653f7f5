// The one table of the 81 listened parameters, in member order. Every family of members
// (strings, values, slots, adaptors, registrations, detach lists, layout entries) is generated
// from it, so none of their orders can drift apart.
//
// Before including, define the five row macros:
//   PARAM_FLOAT   (stem, group, creation, name, paramName, label, start, end, interval, centre, def, scale)
//   PARAM_DECIBEL (stem, group, creation, name, paramName, label, start, end, interval, centre, def)
//   PARAM_INT     (stem, group, creation, name, paramName, max, def)
//   PARAM_BOOL    (stem, group, creation, name, paramName, def)
//   PARAM_PAGE    (stem, group, creation, name, def)   a switch listed by the host under its caption
// `creation` is the parameter's 1-based place in the host's list; `centre` is the skew centre
// (LINEAR for no skew). Texts in TR() pass through juce::translate once; RAW() texts never do.

// clang-format off
#define RIROREZO3_PARAMETER_TABLE \
    PARAM_DECIBEL (toneDrive,       Tone,       1, TR("DRIVE"),  TR("Tone Drive"),          "dB", 0.0f,   12.0f,   0.01f, LINEAR,   0.0f) \
    PARAM_BOOL    (toneLowCut,      Tone,       2, RAW("HPF"),   TR("Low Cut"),             false) \
    PARAM_FLOAT   (toneLowFreq,     ToneHidden, 3, TR("FREQ"),   TR("Tone Low Frequency"),  "Hz", 80.0f,  800.0f,  0.01f, 120.0f,   120.0f,  1.0f) \
    PARAM_FLOAT   (toneLowQ,        ToneHidden, 4, TR("Q"),      TR("Tone Low Q"),          "",   0.5f,   2.0f,    0.01f, LINEAR,   0.5f,    1.0f) \
    PARAM_DECIBEL (toneLowGain,     Tone,       5, TR("LOW"),    TR("Tone Low Gain"),       "dB", -24.0f, 12.0f,   0.01f, 0.0f,     0.0f) \
    PARAM_FLOAT   (toneMidFreq,     ToneHidden, 6, TR("FREQ"),   TR("Tone Mid Frequency"),  "hz", 120.0f, 3000.0f, 0.01f, 1800.0f,  1800.0f, 1.0f) \
    PARAM_FLOAT   (toneMidQ,        ToneHidden, 7, TR("Q"),      TR("Tone Mid Q"),          "",   0.5f,   3.0f,    0.01f, LINEAR,   0.5f,    1.0f) \
    PARAM_DECIBEL (toneMidGain,     Tone,       8, TR("MID"),    TR("Tone Mid Gain"),       "dB", -24.0f, 12.0f,   0.01f, 0.0f,     0.0f) \
    PARAM_FLOAT   (toneHiFreq,      ToneHidden, 9, TR("FREQ"),   TR("Tone High Frequency"), "Hz", 800.0f, 5000.0f, 0.01f, 2500.0f,  2500.0f, 1.0f) \
    PARAM_FLOAT   (toneHiQ,         ToneHidden, 10, TR("Q"),     TR("Tone Hi Q"),           "",   0.5f,   2.0f,    0.01f, LINEAR,   0.5f,    1.0f) \
    PARAM_DECIBEL (toneHiGain,      Tone,       11, TR("HI"),    TR("Tone High Gain"),      "dB", -24.0f, 12.0f,   0.01f, 0.0f,     0.0f) \
    PARAM_FLOAT   (toneShape,       Tone,       12, TR("SHAPE"), TR("Tone Shape"),          "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (toneSaturation,  Tone,       13, TR("LEVEL"), TR("Tone Saturation"),     "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (toneSatGain,     Tone,       76, TR("GAIN"),  TR("Tone Sat Gain"),       "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (toneDamper,      Tone,       14, TR("DAMPER"), TR("Tone Damper"),        "Hz", 3000.0f, 20000.0f, 0.01f, 5000.0f, 20000.0f, 1.0f) \
    PARAM_BOOL    (toneRnd,         Tone,       15, TR("!?!"),   TR("Tone Randomizer"),     false) \
    PARAM_BOOL    (tonePower,       Tone,       16, RAW(""),     TR("Tone On/Off"),         true) \
    PARAM_INT     (meltFlowType,    MeltFlow,   17, RAW("MELT TYPE"), TR("Melt Flow Type"), 3, 0) \
    PARAM_INT     (meltFlowSync,    MeltFlow,   18, RAW("SYNC MODE"), TR("Melt Flow Sync"), 1, 0) \
    PARAM_INT     (meltWowRate,     MeltFlow,   19, TR("WOW"),   TR("Melt Wow Rate"),       12, 5) \
    PARAM_FLOAT   (meltWowFreq,     MeltFlow,   20, TR("WOW"),   TR("Melt Wow Freq"),       "Hz", 0.25f,  4.0f,    0.01f, LINEAR,   1.2f,    1.0f) \
    PARAM_FLOAT   (meltFlowMix,     MeltFlow,   21, TR("MIX"),   TR("Melt Flow Mix"),       "%",  0.0f,   100.0f,  0.01f, LINEAR,   30.0f,   0.01f) \
    PARAM_INT     (meltFlutterRate, MeltFlow,   22, TR("FLUTTR"), TR("Melt Flutter Rate"),  12, 3) \
    PARAM_FLOAT   (meltFlutterFreq, MeltFlow,   23, TR("FLUTTR"), TR("Melt Flutter Freq"),  "Hz", 5.0f,   15.0f,   0.01f, LINEAR,   8.0f,    1.0f) \
    PARAM_FLOAT   (meltFlowRnd,     MeltFlow,   24, TR("RNDM"),  TR("Melt Flow Random"),    "%",  0.0f,   100.0f,  0.01f, LINEAR,   50.0f,   0.01f) \
    PARAM_FLOAT   (meltFlowLevel,   MeltFlow,   25, TR("LEVEL"), TR("Melt Flow Level (Pitch)"), "%", 0.0f, 100.0f, 0.01f, LINEAR,   50.0f,   0.01f) \
    PARAM_PAGE    (meltFlowPanelSwitch, MeltMain, 26, RAW("FLOW"), true) \
    PARAM_BOOL    (meltFlowPower,   MeltMain,   27, RAW(""),     TR("Melt On/Off"),         true) \
    PARAM_INT     (meltDropoutType, MeltDropout, 28, RAW("MELT TYPE"), TR("Melt Dropout Type"), 3, 2) \
    PARAM_INT     (meltDropoutSync, MeltDropout, 29, RAW("SYNC MODE"), TR("Melt Dropout Sync"), 1, 0) \
    PARAM_INT     (meltDropoutRate, MeltDropout, 30, TR("RATE"), TR("Melt Dropout Rate"),   12, 3) \
    PARAM_FLOAT   (meltDropoutFreq, MeltDropout, 31, TR("FREQ"), TR("Melt Dropout Freq"),   "Hz", 0.5f,   15.0f,   0.01f, LINEAR,   8.0f,    1.0f) \
    PARAM_FLOAT   (meltDropoutPhase, MeltDropout, 32, TR("PHASE"), TR("Melt Dropout Phase"), "%", 0.0f,   0.5f,    0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (meltDropoutRnd,  MeltDropout, 33, TR("RNDM"), TR("Melt Dropout Random"), "%",  0.0f,   100.0f,  0.01f, LINEAR,   50.0f,   0.01f) \
    PARAM_FLOAT   (meltDropoutLevel, MeltDropout, 34, TR("LEVEL"), TR("Melt Dropout Level (Pitch)"), "%", 0.0f, 100.0f, 0.01f, LINEAR, 25.0f, 0.01f) \
    PARAM_PAGE    (meltDropoutPanelSwitch, MeltMain, 35, RAW("DROPOUT"), false) \
    PARAM_BOOL    (meltDropoutPower, MeltMain,  36, RAW(""),     TR("Melt Dropout On/Off"), true) \
    PARAM_INT     (meltJumpRate,    MeltJump,   37, TR("RATE"),  TR("Melt Jump Rate"),      12, 6) \
    PARAM_FLOAT   (meltJumpSnag,    MeltJump,   38, TR("SNAG"),  TR("Melt Jump Snag"),      "%",  0.0f,   2.0f,    0.01f, LINEAR,   0.8f,    1.0f) \
    PARAM_FLOAT   (meltJumpRelease, MeltJump,   39, TR("RELEASE"), TR("Melt Jump Release"), "%",  0.0f,   2.0f,    0.01f, LINEAR,   0.8f,    1.0f) \
    PARAM_FLOAT   (meltJumpCurve,   MeltJump,   40, TR("CURVE"), TR("Melt Jump Curve"),     "%",  0.0f,   100.0f,  0.01f, LINEAR,   50.0f,   1.0f) \
    PARAM_FLOAT   (meltJumpStart,   MeltJump,   41, TR("START"), TR("Melt Jump Start"),     "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    0.01f) \
    PARAM_FLOAT   (meltJumpRnd,     MeltJump,   42, TR("RND"),   TR("Melt Jump Random"),    "Ms", 0.0f,   1.0f,    0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (meltJumpLevel,   MeltJump,   43, TR("LEVEL"), TR("Melt Jump Level"),     "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    0.01f) \
    PARAM_PAGE    (meltJumpPanelSwitch, MeltMain, 44, RAW("JUMP"), false) \
    PARAM_BOOL    (meltJumpPower,   MeltMain,   45, RAW(""),     TR("Melt Jump On/Off"),    true) \
    PARAM_FLOAT   (meltChorus,      MeltMain,   46, TR("CHORUS"), TR("Melt Flow Chorus"),   "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (meltEchoSend,    MeltMain,   47, TR("ECHO"),  TR("Melt Echo Send"),      "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    0.01f) \
    PARAM_FLOAT   (meltDepth,       MeltMain,   48, TR("DEPTH"), TR("Melt Depth"),          "%",  0.0f,   100.0f,  0.01f, LINEAR,   100.0f,  0.01f) \
    PARAM_BOOL    (meltFlowPanelRnd, MeltMain,  49, TR("!?!"),   TR("Melt Flow Panel Randomizer"), false) \
    PARAM_BOOL    (meltDropoutPanelRnd, MeltMain, 50, TR("!?!"), TR("Melt Dropout Panel Randomizer"), false) \
    PARAM_BOOL    (meltJumpPanelRnd, MeltMain,  51, TR("!?!"),   TR("Melt Jump Panel Randomizer"), false) \
    PARAM_BOOL    (meltPower,       MeltMain,   52, RAW(""),     TR("Melt On/Off"),         true) \
    PARAM_INT     (echoSync,        Echo,       53, TR("SYNC MODE"), TR("Echo Sync Mode"),  1, 1) \
    PARAM_INT     (echoRateLeft,    Echo,       54, TR("LEFT"),  TR("Echo Rate Left"),      12, 7) \
    PARAM_INT     (echoRateRight,   Echo,       55, TR("RIGHT"), TR("Echo Rate Right"),     12, 7) \
    PARAM_INT     (echoMin,         Echo,       56, TR("MIN"),   TR("Echo Min Time"),       4, 3) \
    PARAM_INT     (echoMax,         Echo,       57, TR("MAX"),   TR("Echo Max Time"),       3, 1) \
    PARAM_INT     (echoFactorRate,  Echo,       80, TR("RATE"),  TR("Echo Factor Rate"),    12, 2) \
    PARAM_FLOAT   (echoTime,        Echo,       58, TR("TIME"),  TR("Echo Time (Manual)"),  "ms", 0.5f,   1000.0f, 0.001f, LINEAR,  500.0f,  1.0f) \
    PARAM_FLOAT   (echoOffset,      Echo,       59, TR("OFFSET"), TR("Echo Rate Offset"),   "",   0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (echoOffsetMs,    Echo,       60, TR("OFFSET"), TR("Echo Rate Offset (MS)"), "ms", 0.0f, 150.0f, 0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_FLOAT   (echoLength,      Echo,       61, TR(""),      TR("Echo Length"),         "",   -100.0f, 100.0f, 0.01f, LINEAR,   100.0f,  1.0f) \
    PARAM_FLOAT   (echoGlide,       Echo,       81, TR("GLIDE"), TR("Echo Glide"),          "%",  0.0f,   100.0f,  0.01f, 95.0f,    95.0f,   1.0f) \
    PARAM_DECIBEL (echoInput,       Echo,       62, TR("INPUT"), TR("Echo Input Level"),    "dB", -100.0f, 0.0f,   0.01f, -12.0f,   0.0f) \
    PARAM_FLOAT   (echoFeedback,    Echo,       63, TR("FEEDBACK"), TR("Echo Feedback"),    "%",  0.0f,   120.0f,  0.01f, LINEAR,   40.0f,   0.01f) \
    PARAM_FLOAT   (echoHpFreq,      Echo,       64, TR("HPF"),   TR("Echo HighPass Frequency"), "Hz", 20.0f, 1500.0f, 0.01f, 600.0f, 20.0f,   1.0f) \
    PARAM_FLOAT   (echoLpFreq,      Echo,       65, TR("LPF"),   TR("Echo LowPass Frequency"), "Hz", 800.0f, 20000.0f, 0.01f, 2000.0f, 20000.0f, 1.0f) \
    PARAM_FLOAT   (echoMix,         Echo,       66, TR("MIX"),   TR("Echo Dry/Wet Mix"),    "%",  0.0f,   100.0f,  0.01f, LINEAR,   35.0f,   0.01f) \
    PARAM_INT     (echoMixMode,     Echo,       77, TR(""),      TR("Echo Mix Mode"),       1, 0) \
    PARAM_INT     (echoFactorMode,  Echo,       79, TR("MODE"),  TR("Echo Factor Mode"),    1, 0) \
    PARAM_BOOL    (echoLink,        Echo,       67, TR("LINK"),  TR("Echo Stereo Link"),    false) \
    PARAM_BOOL    (echoPingPong,    Echo,       68, TR("PINGPONG"), TR("Echo PingPong Mode"), false) \
    PARAM_BOOL    (echoLoop,        Echo,       69, TR("LOOP"),  TR("Echo Loop Mode"),      false) \
    PARAM_BOOL    (echoFilter,      Echo,       78, TR("FILTER"), TR("Echo Filter Mode"),   true) \
    PARAM_BOOL    (echoRnd,         Echo,       70, TR("!?!"),   TR("Echo Randomizer"),     false) \
    PARAM_BOOL    (echoPower,       Echo,       71, RAW(""),     RAW("Echo On/Off"),        true) \
    PARAM_FLOAT   (ruvuvMelt,       Master,     72, TR("RUVUV"), TR("Ruvuv Melt"),          "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    1.0f) \
    PARAM_DECIBEL (outputVolume,    Master,     73, TR("VOLUME"), TR("Output Volume"),      "dB", -100.0f, 12.0f,  0.01f, 0.0f,     0.0f) \
    PARAM_FLOAT   (dryWetMix,       Master,     74, TR("DRY/WET"), TR("Dry/Wet Mix"),       "%",  0.0f,   100.0f,  0.01f, LINEAR,   100.0f,  0.01f) \
    PARAM_FLOAT   (noiseLevel,      Master,     75, TR("NOISE"), TR("Noise Level"),         "%",  0.0f,   100.0f,  0.01f, LINEAR,   0.0f,    0.01f)
// clang-format on
