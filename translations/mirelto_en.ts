<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>AnalysisWindow</name>
    <message>
        <source>ステップ応答</source>
        <translation>Step response</translation>
    </message>
    <message>
        <source>振幅特性</source>
        <translation>Magnitude</translation>
    </message>
    <message>
        <source>位相特性</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>群遅延</source>
        <translation>Group delay</translation>
    </message>
    <message>
        <source>周波数 [Hz]</source>
        <translation>Frequency [Hz]</translation>
    </message>
    <message>
        <source>ゲイン [dB]</source>
        <translation>Gain [dB]</translation>
    </message>
    <message>
        <source>位相 [°]</source>
        <translation>Phase [°]</translation>
    </message>
    <message>
        <source>群遅延 [%1]</source>
        <translation>Group delay [%1]</translation>
    </message>
    <message>
        <source> (始めの部分のみ)</source>
        <translation> (first part only)</translation>
    </message>
    <message>
        <source>振動が速く長く続くため、表示点数の上限 (%1 点) に収まる始めの部分だけを、1 周期 20 点以上で表示しています。</source>
        <translation>The ringing is fast and long: only the first part that fits the plot&apos;s limit of %1 points is shown, at 20 points or more per period.</translation>
    </message>
    <message>
        <source>時間 [%1]</source>
        <translation>Time [%1]</translation>
    </message>
    <message>
        <source>出力</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>要求</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>実回路</source>
        <translation>Built</translation>
    </message>
    <message>
        <source>実オペアンプ</source>
        <translation>Real op-amp</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>誤差 [%]</source>
        <translation>Error [%]</translation>
    </message>
    <message>
        <source>−3 dB 周波数 [Hz]</source>
        <translation>−3 dB frequency [Hz]</translation>
    </message>
    <message>
        <source>−3 dB 周波数 [%1]</source>
        <translation>−3 dB frequency [%1]</translation>
    </message>
    <message>
        <source>fo でのゲイン [dB]</source>
        <translation>Gain at fo [dB]</translation>
    </message>
    <message>
        <source>ピークゲイン [dB]</source>
        <translation>Peak gain [dB]</translation>
    </message>
    <message>
        <source>実オペアンプ −3 dB [Hz]</source>
        <translation>Real op-amp −3 dB [Hz]</translation>
    </message>
    <message>
        <source>実オペアンプ ピーク [dB]</source>
        <translation>Real op-amp peak [dB]</translation>
    </message>
    <message>
        <source>−3 dB 周波数が %1 %</source>
        <translation>the −3 dB frequency by %1 %</translation>
    </message>
    <message>
        <source>ピークゲインが %1 dB</source>
        <translation>the peak gain by %1 dB</translation>
    </message>
    <message>
        <source>⚠ このオペアンプでは理想オペアンプに比べて %1 変わります (許容: 1 % / 0.5 dB)。</source>
        <translation>⚠ Against an ideal op-amp, this op-amp changes %1 (allowed: 1 % / 0.5 dB).</translation>
    </message>
    <message>
        <source>、</source>
        <translation> and </translation>
    </message>
    <message>
        <source>公称値</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>抵抗値の比 %1/%2 が %3 です (%4 を超えています): 誤差と浮遊容量の影響を受けやすくなります</source>
        <translation>Resistor ratio %1/%2 is %3 (over %4): sensitive to tolerances and stray capacitance</translation>
    </message>
    <message>
        <source>コンデンサ値の比 %1/%2 が %3 です (%4 を超えています): 誤差と浮遊容量の影響を受けやすくなります</source>
        <translation>Capacitor ratio %1/%2 is %3 (over %4): sensitive to tolerances and stray capacitance</translation>
    </message>
    <message>
        <source>%1 = %2Ω は %3Ω 未満です: オペアンプの出力の負荷が重くなります</source>
        <translation>%1 = %2Ω is below %3Ω: a heavy load on the op-amp output</translation>
    </message>
    <message>
        <source>%1 = %2Ω は %3Ω を超えています: 抵抗の雑音とバイアス電流の影響が大きくなります</source>
        <translation>%1 = %2Ω is above %3Ω: resistor noise and op-amp bias currents grow</translation>
    </message>
    <message>
        <source>%1 = %2F は %3F 未満です: 浮遊容量とオペアンプの入力容量の影響を受けます</source>
        <translation>%1 = %2F is below %3F: stray and op-amp input capacitance shift the response</translation>
    </message>
    <message>
        <source>要求 (最後の定数計算): fa = %1Hz, fo = %2Hz, Q = %3</source>
        <translation>Requested (last &quot;Calculate&quot;): fa = %1Hz, fo = %2Hz, Q = %3</translation>
    </message>
    <message>
        <source>%1 は利得 1 (ボルテージフォロワ) で安定しません: この回路では発振するおそれがあります</source>
        <translation>%1 is not stable at a gain of 1 (voltage follower): this circuit may oscillate</translation>
    </message>
    <message>
        <source>出力の最大 %1V (%2Hz) が出力振幅の限界 ±%3V を超えています: 出力がクリップします</source>
        <translation>The largest output %1V (%2Hz) exceeds the output swing ±%3V: the output clips</translation>
    </message>
    <message>
        <source>必要なスルーレート %1V/s (%2Hz) がオペアンプの %3V/s を超えています: 出力が歪みます</source>
        <translation>The slew rate needed, %1V/s (%2Hz), exceeds the op-amp&apos;s %3V/s: the output distorts</translation>
    </message>
    <message>
        <source>入力の最大 %1V が同相入力範囲の限界 ±%2V を超えています</source>
        <translation>The largest input %1V exceeds the input common-mode range ±%2V</translation>
    </message>
    <message>
        <source>合計</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>出力 最大 %1V / 限界 ±%2V</source>
        <translation>Output: largest %1V, limit ±%2V</translation>
    </message>
    <message>
        <source>スルーレート 必要 %1V/s / %2V/s</source>
        <translation>Slew rate: needed %1V/s, op-amp %2V/s</translation>
    </message>
    <message>
        <source>フルパワー帯域 %1Hz</source>
        <translation>Full-power bandwidth %1Hz</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>保存する(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>保存しない(&amp;N)</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ProblemText</name>
    <message>
        <source>fa, fo, Q は正の有限な値にしてください</source>
        <translation>fa, fo and Q must be positive and finite</translation>
    </message>
    <message>
        <source>%1 は正の有限な値にしてください</source>
        <translation>%1 must be positive and finite</translation>
    </message>
    <message>
        <source>%1 の系列は 0 以上にしてください</source>
        <translation>%1: a series size is 0 or more</translation>
    </message>
    <message>
        <source>%1 の近くに系列の値がありません</source>
        <translation>%1: no preferred values around it</translation>
    </message>
    <message>
        <source>%1 の丸めた値が探索範囲の外にあります</source>
        <translation>%1: its rounded value is out of range</translation>
    </message>
    <message>
        <source>探索範囲は ±1 から ±%1 ステップです</source>
        <translation>The neighbourhood is ±1 to ±%1 steps</translation>
    </message>
    <message>
        <source>残す候補は 1 つ以上にしてください</source>
        <translation>At least one candidate must be kept</translation>
    </message>
    <message>
        <source>%1 の許容差は 0 以上 %2 % 未満にしてください</source>
        <translation>%1: a tolerance is 0 to below %2 %</translation>
    </message>
    <message>
        <source>この回路には実極と複素極対がありません</source>
        <translation>The circuit has no real pole and complex pole pair</translation>
    </message>
    <message>
        <source>試行回数は 1 から %1 です</source>
        <translation>The number of trials is 1 to %1</translation>
    </message>
    <message>
        <source>ヒストグラムの区間数は 1 から %1 です</source>
        <translation>The number of histogram bins is 1 to %1</translation>
    </message>
    <message>
        <source>-3 dB の探索範囲は 0 &lt; 下限 &lt; 上限 にしてください</source>
        <translation>The -3 dB search range must be 0 &lt; low &lt; high</translation>
    </message>
    <message>
        <source>歩留まりの許容幅は 0 以上の有限な値にしてください</source>
        <translation>A yield limit must be 0 or more and finite</translation>
    </message>
</context>
<context>
    <name>Saving</name>
    <message>
        <source>%1 を保存できません。
%2</source>
        <translation>Cannot save %1.
%2</translation>
    </message>
</context>
<context>
    <name>TFormAnalysis</name>
    <message>
        <source>解析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>応答</source>
        <translation>Response</translation>
    </message>
    <message>
        <source>「定数計算」または「伝達関数」を実行すると、ここに応答グラフと解析結果を表示します。</source>
        <translation>Run &quot;Calculate&quot; or &quot;Transfer&quot; in the main window to see the response plots and their analysis here.</translation>
    </message>
    <message>
        <source>要求と実回路の比較</source>
        <translation>Target against built</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>要求</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>実回路</source>
        <translation>Built</translation>
    </message>
    <message>
        <source>誤差 [%]</source>
        <translation>Error [%]</translation>
    </message>
    <message>
        <source>オペアンプ GBW</source>
        <translation>Op-amp GBW</translation>
    </message>
    <message>
        <source>例: 1M (空欄: 理想)</source>
        <translation>e.g. 1M (empty: ideal)</translation>
    </message>
    <message>
        <source>オペアンプの利得帯域幅積 (gain-bandwidth) を入力すると、実オペアンプでの応答も表示します</source>
        <translation>Enter the op-amp&apos;s gain-bandwidth product to see the response with a real op-amp too</translation>
    </message>
    <message>
        <source>画像をコピー</source>
        <translation>Copy image</translation>
    </message>
    <message>
        <source>グラフを画像としてクリップボードにコピーします (Copy image)</source>
        <translation>Copies the plots to the clipboard as an image</translation>
    </message>
    <message>
        <source>PNG/SVG で保存</source>
        <translation>Save PNG/SVG</translation>
    </message>
    <message>
        <source>グラフを PNG または SVG ファイルに保存します (Save as PNG/SVG)</source>
        <translation>Saves the plots as a PNG or SVG file</translation>
    </message>
    <message>
        <source>表をコピー</source>
        <translation>Copy table</translation>
    </message>
    <message>
        <source>表をタブ区切りテキストでクリップボードにコピーします (Copy table)</source>
        <translation>Copies the table to the clipboard as tab-separated text</translation>
    </message>
    <message>
        <source>プリセット</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>応答の種類</source>
        <translation>Response</translation>
    </message>
    <message>
        <source>補助単位 n,u,m,k,M,G,T を付けて入力できます</source>
        <translation>The prefix letters n,u,m,k,M,G,T may be used</translation>
    </message>
    <message>
        <source>回路形式</source>
        <translation>Circuit</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>fa, fo, Q をメインウィンドウの入力欄に書き込みます</source>
        <translation>Writes fa, fo, Q into the main window&apos;s boxes</translation>
    </message>
    <message>
        <source>標準値最適化</source>
        <translation>Standard values</translation>
    </message>
    <message>
        <source>「実行」で、メインウィンドウの fa, fo, Q、指定値と系列から、誤差の小さい標準値の組み合わせを探します。</source>
        <translation>&quot;Run&quot; searches for the combinations of standard values with the smallest errors, from the main window&apos;s fa, fo, Q, given values and series.</translation>
    </message>
    <message>
        <source>指定値の系列</source>
        <translation>Series of the given parts</translation>
    </message>
    <message>
        <source>固定: 指定値はそのまま。E 系列を選ぶと、指定値もその系列の近くの値を試します</source>
        <translation>Fixed: the given values stay as they are. With an E-series, nearby values of that series are tried for them too</translation>
    </message>
    <message>
        <source>探索範囲</source>
        <translation>Search range</translation>
    </message>
    <message>
        <source>各部品を系列の何段先まで動かすか</source>
        <translation>How many steps along its series each part may move</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>選んだ行の 6 部品をメインウィンドウに書き込み、「伝達関数」を実行します</source>
        <translation>Writes the six parts of the selected row into the main window and runs &quot;Transfer&quot;</translation>
    </message>
    <message>
        <source>許容差</source>
        <translation>Tolerances</translation>
    </message>
    <message>
        <source>「定数計算」または「伝達関数」を実行すると、その結果の回路の許容差を解析できます。</source>
        <translation>Run &quot;Calculate&quot; or &quot;Transfer&quot; in the main window to analyse the tolerances of its result circuit here.</translation>
    </message>
    <message>
        <source>許容差 [%]</source>
        <translation>Tolerance [%]</translation>
    </message>
    <message>
        <source>分布</source>
        <translation>Distribution</translation>
    </message>
    <message>
        <source>試行回数 N</source>
        <translation>Trials N</translation>
    </message>
    <message>
        <source>シード</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>同じシードで同じ結果を再現できます</source>
        <translation>The same seed gives the same results again</translation>
    </message>
    <message>
        <source>パーセンタイル</source>
        <translation>Percentiles</translation>
    </message>
    <message>
        <source>感度 S = (dy/dx)(x/y)</source>
        <translation>Sensitivities S = (dy/dx)(x/y)</translation>
    </message>
    <message>
        <source>ネットリスト</source>
        <translation>Netlist</translation>
    </message>
    <message>
        <source>「定数計算」または「伝達関数」を実行すると、その結果の回路の SPICE ネットリスト (ngspice, LTspice) をここに表示します。</source>
        <translation>Run &quot;Calculate&quot; or &quot;Transfer&quot; in the main window to see the SPICE netlist (ngspice, LTspice) of its result circuit here.</translation>
    </message>
    <message>
        <source>部品の値がすべて正の値ではないため、ネットリストを作れません。</source>
        <translation>Not every part value is positive, so no netlist can be made.</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>ネットリストをクリップボードにコピーします (Copy netlist)</source>
        <translation>Copies the netlist to the clipboard</translation>
    </message>
    <message>
        <source>順位付け</source>
        <translation>Rank by</translation>
    </message>
    <message>
        <source>何の誤差で順位を付けるか: fa, fo, Q の最大誤差、−3 dB 周波数の誤差、または 0.1〜3 倍の −3 dB 周波数 (HPF は 1/3〜10 倍) での振幅特性の最大偏差</source>
        <translation>What the rows are ranked by: the worst error of fa, fo and Q, the error of the −3 dB frequency, or the largest deviation of the magnitude response from 0.1 to 3 times the −3 dB frequency (HPF: 1/3 to 10 times)</translation>
    </message>
    <message>
        <source>⚠ 表示中の結果はメイン画面の現在の入力と一致しません。「定数計算」または「伝達関数」で更新してください。</source>
        <translation>⚠ The results shown no longer match the main window&apos;s input. Run Calculate or Transfer function to update them.</translation>
    </message>
    <message>
        <source>通過域</source>
        <translation>Pass band</translation>
    </message>
    <message>
        <source>振幅特性を通過域に拡大し、リップルと −3 dB の線を見やすくします (Pass band)</source>
        <translation>Shows the magnitude plot over the pass band, scaled to its ripple and the −3 dB line</translation>
    </message>
    <message>
        <source>表示をリセット</source>
        <translation>Reset view</translation>
    </message>
    <message>
        <source>拡大・移動を元に戻します (ダブルクリックでも戻ります)。ホイールで拡大、ドラッグで範囲を拡大、中ボタンまたは Shift+ドラッグで移動します (Reset zoom)</source>
        <translation>Undoes zoom and pan (a double-click does too). The wheel zooms, a drag zooms into its rectangle, a middle or Shift+drag pans</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ネットリストを .cir ファイルに保存します (Save netlist)</source>
        <translation>Saves the netlist as a .cir file</translation>
    </message>
    <message>
        <source>歩留まり判定 ±[%]</source>
        <translation>Yield limits ±[%]</translation>
    </message>
    <message>
        <source>公称値からのずれがこの幅に収まる試行の割合を求めます (空欄の項目は判定しません)</source>
        <translation>The share of trials within these limits of the nominal values (blank ones are not checked)</translation>
    </message>
</context>
<context>
    <name>TFormHelp</name>
    <message>
        <source>３次のLPFおよびHPFの定数と伝達関数の計算を行います。

【回路定数の計算】
「LPF」、「HPF」ラジオボタンで回路形式を選択します。
数値の入力には補助単位 n,u,m,k,M,G,Tを付けて入力できます( 1.2e-6 の様な指数表現も可)。
最初に目的の伝達関数のパラメータ fa,fo,Qを入力します。
LPFの場合はR1,R2,R3に指定値を入力します(R2,R3がブランクの場合は前段の値を適用します)。
HPFの場合はC1,C2,C3に指定値を入力します(C2,C3がブランクの場合は前段の値を適用します)。
「定数計算」ボタンをクリックすると回路定数を計算し、結果の伝達関数を逆算して表示します。
「印刷」ボタンで結果をテキストで印刷します。
「コピー」ボタンで結果をテキストでクリップボードにコピーします。

回路が実現できない場合、または部品間の定数値の差が大きい場合。
LPFの場合はR1&lt;R2&lt;=R3で抵抗比を大きくします(R1を小さくするだけでも効果が有ります)。
HPFの場合はC1&gt;C2&gt;=C3で容量比を大きくします(C1を大さくするだけでも効果が有ります)。

伝達関数の結果の誤差を小さくしたい場合
LPFの場合はC1,C2,C3のE系列値を大きな値にするかR1,R2,R3を微調整して再計算します。
HPFの場合はR1,R2,R3のE系列値を大きな値にして再計算します。
E系列値に「∞」を指定した場合は計算値をそのまま出力します。

【伝達関数の計算】
R1,R2,R3,C1,C2.C3に値を入力して「伝達関数」ボタンをクリックすると結果のfa,fo,Qを表示します。

【３次ＬＰＦ単独使用の場合の伝達関数】
fa=fo, Q=1.0 でバターワース（振幅最平坦）特性。
 このとき ｆｃ=foでゲイン -3.01dB、 ステップ入力のオーバーシュート約8.2% 。
 （Q=0.7071 に落とした場合は foでのゲイン -6.02dB,  オーバーシュート約1.4% になります）。</source>
        <translation>Computes the part values and the transfer function of 3rd-order LPFs and HPFs.

[Calculating the circuit constants]
Choose the circuit form with the &quot;LPF&quot; and &quot;HPF&quot; radio buttons.
Numbers may carry the prefix letters n,u,m,k,M,G,T (exponent notation such as 1.2e-6 is also allowed).
First enter the parameters fa,fo,Q of the wanted transfer function.
For an LPF enter the given values of R1,R2,R3 (a blank R2 or R3 takes the value before it).
For an HPF enter the given values of C1,C2,C3 (a blank C2 or C3 takes the value before it).
Click &quot;Calculate&quot; to compute the circuit constants; the transfer function computed back from them is shown.
&quot;Print&quot; prints the result as text.
&quot;Copy&quot; copies the result as text to the clipboard.

If the circuit cannot be realised, or the part values differ widely:
For an LPF widen the resistor ratios with R1&lt;R2&lt;=R3 (making R1 smaller alone also helps).
For an HPF widen the capacitor ratios with C1&gt;C2&gt;=C3 (making C1 larger alone also helps).

To make the error of the resulting transfer function smaller:
For an LPF choose a larger E-series for C1,C2,C3 or fine-tune R1,R2,R3, and calculate again.
For an HPF choose a larger E-series for R1,R2,R3 and calculate again.
With &quot;∞&quot; as the E-series the computed value is given unrounded.

[Calculating the transfer function]
Enter R1,R2,R3,C1,C2,C3 and click &quot;Transfer&quot; to show fa,fo,Q of the circuit.

[Transfer function of a 3rd-order LPF used on its own]
fa=fo, Q=1.0 gives the Butterworth (maximally flat) response.
 The gain at fc=fo is then -3.01dB, and a step input overshoots by about 8.2%.
 (Lowering Q to 0.7071 gives a gain of -6.02dB at fo and about 1.4% overshoot.)</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>３次LPF/HPF Ver</source>
        <translation>3rd-order LPF/HPF Ver</translation>
    </message>
    <message>
        <source>抵抗値を指定します</source>
        <translation>Enter the resistance</translation>
    </message>
    <message>
        <source>省略時はR1を適用します</source>
        <translation>If left empty, R1 applies</translation>
    </message>
    <message>
        <source>省略時はR2を適用します</source>
        <translation>If left empty, R2 applies</translation>
    </message>
    <message>
        <source>容量を指定します</source>
        <translation>Enter the capacitance</translation>
    </message>
    <message>
        <source>省略時はC1を適用します</source>
        <translation>If left empty, C1 applies</translation>
    </message>
    <message>
        <source>省略時はC2を適用します</source>
        <translation>If left empty, C2 applies</translation>
    </message>
    <message>
        <source>LPF/HPFのモードを切り換えます</source>
        <translation>Switches between LPF and HPF mode</translation>
    </message>
    <message>
        <source>定数計算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>定数計算を実行します</source>
        <translation>Runs the constant calculation: the parts for fa, fo, Q</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>結果の伝達関数</source>
        <translation>The resulting transfer function</translation>
    </message>
    <message>
        <source>指定値</source>
        <translation>Given</translation>
    </message>
    <message>
        <source>要求する伝達関数</source>
        <translation>The requested transfer function</translation>
    </message>
    <message>
        <source>Ｅ系列指定</source>
        <translation>E-series</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>結果をテキストで印刷します</source>
        <translation>Prints the result as text</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>結果をテキストでクリップボードにコピーします</source>
        <translation>Copies the result as text to the clipboard</translation>
    </message>
    <message>
        <source>クリックでヘルプを表示します</source>
        <translation>Click to show the help</translation>
    </message>
    <message>
        <source>解析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>応答グラフと詳細解析を表示します</source>
        <translation>Shows the response plots and a detailed analysis</translation>
    </message>
    <message>
        <source>伝達関数</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>伝達関数計算を実行します</source>
        <translation>Runs the transfer-function calculation: fa, fo, Q of the six parts</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>mirelto::ChangeTracker</name>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save changes to %1?</translation>
    </message>
</context>
<context>
    <name>mirelto::FileCommands</name>
    <message>
        <source>ファイルがありません。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>フォルダーです。設計ファイル (.mirelto) を選んでください。</source>
        <translation>It is a folder. Please choose a design file (.mirelto).</translation>
    </message>
    <message>
        <source>読み取れません (%1)。</source>
        <translation>It cannot be read (%1).</translation>
    </message>
    <message>
        <source>大きすぎます。設計ファイルは 1 MB までです。</source>
        <translation>It is too large. Design files are 1 MB at most.</translation>
    </message>
    <message>
        <source>空のファイルです。</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>UTF-8 のテキストではありません。</source>
        <translation>It is not UTF-8 text.</translation>
    </message>
    <message>
        <source>途中で切れています。</source>
        <translation>It is cut short.</translation>
    </message>
    <message>
        <source>JSON として読めません (%1 バイト目)。</source>
        <translation>It does not read as JSON (at byte %1).</translation>
    </message>
    <message>
        <source>Mirelto の設計ファイルではありません。</source>
        <translation>It is not a Mirelto design file.</translation>
    </message>
    <message>
        <source>新しい形式 (版 %1) で保存されています。この Mirelto が読めるのは版 %2 までです。</source>
        <translation>It was saved in a newer format (version %1). This Mirelto reads up to version %2.</translation>
    </message>
    <message>
        <source>「%1」がありません。</source>
        <translation>&quot;%1&quot; is missing.</translation>
    </message>
    <message>
        <source>文字列</source>
        <translation>a string</translation>
    </message>
    <message>
        <source>整数</source>
        <translation>an integer</translation>
    </message>
    <message>
        <source>オブジェクト</source>
        <translation>an object</translation>
    </message>
    <message>
        <source>「%1」は%2でなければなりません。</source>
        <translation>&quot;%1&quot; must be %2.</translation>
    </message>
    <message>
        <source>「%1」の値が正しくありません。</source>
        <translation>The value of &quot;%1&quot; is not valid.</translation>
    </message>
    <message>
        <source>%1 を開けません。
%2</source>
        <translation>Cannot open %1.
%2</translation>
    </message>
    <message>
        <source>設計ファイルを開く</source>
        <translation>Open design file</translation>
    </message>
    <message>
        <source>設計ファイル (*.mirelto);;すべてのファイル (*)</source>
        <translation>Design files (*.mirelto);;All files (*)</translation>
    </message>
    <message>
        <source>設計ファイル (*.mirelto)</source>
        <translation>Design files (*.mirelto)</translation>
    </message>
    <message>
        <source>設計ファイルを保存</source>
        <translation>Save design file</translation>
    </message>
    <message>
        <source>(なし)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>最近使ったファイル(&amp;R)</source>
        <translation>&amp;Recent Files</translation>
    </message>
    <message>
        <source>設計のメモ (設計ファイルに保存されます)</source>
        <translation>Notes on the design (saved in the design file)</translation>
    </message>
    <message>
        <source>メモ</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>%1 はもうありません。最近使ったファイルの一覧から外しました。</source>
        <translation>%1 no longer exists. It has been removed from the recent files.</translation>
    </message>
    <message>
        <source>開くファイルの名前がありません。</source>
        <translation>No file name was given to open.</translation>
    </message>
    <message>
        <source>保存すると %1 MB になり、開ける大きさ (1 MB) を超えます。メモを短くしてください。</source>
        <translation>Saved, it would be %1 MB, over the 1 MB a design file may have. Shorten the note.</translation>
    </message>
    <message>
        <source>「%1」がこのままでは、保存したファイルを開けません。</source>
        <translation>With "%1" as it is, the saved file could not be opened.</translation>
    </message>
</context>
<context>
    <name>mirelto::NetlistPanel</name>
    <message>
        <source>SPICE ネットリスト (*.cir)</source>
        <translation>SPICE netlist (*.cir)</translation>
    </message>
    <message>
        <source>ネットリストを保存</source>
        <translation>Save netlist</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>mirelto::NoisePanel</name>
    <message>
        <source>出力雑音密度</source>
        <translation>Output noise density</translation>
    </message>
    <message>
        <source>周波数 [Hz]</source>
        <translation>Frequency [Hz]</translation>
    </message>
    <message>
        <source>雑音密度 [V/√Hz]</source>
        <translation>Noise density [V/√Hz]</translation>
    </message>
    <message>
        <source>雑音</source>
        <translation>Noise</translation>
    </message>
    <message>
        <source>帯域 (空欄: 表示範囲)</source>
        <translation>Band (empty: plotted range)</translation>
    </message>
    <message>
        <source>例: 20</source>
        <translation>e.g. 20</translation>
    </message>
    <message>
        <source>例: 20k</source>
        <translation>e.g. 20k</translation>
    </message>
    <message>
        <source>雑音源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>RMS [V]</source>
        <translation>RMS [V]</translation>
    </message>
    <message>
        <source>割合 [%]</source>
        <translation>Share [%]</translation>
    </message>
    <message>
        <source>表をコピー</source>
        <translation>Copy table</translation>
    </message>
    <message>
        <source>表をタブ区切りテキストでクリップボードにコピーします (Copy table)</source>
        <translation>Copies the table to the clipboard as tab-separated text</translation>
    </message>
    <message>
        <source>表示をリセット</source>
        <translation>Reset view</translation>
    </message>
    <message>
        <source>帯域は 20 と 20k のように、低い周波数から高い周波数の順に正の値で入力してください (空欄: 表示範囲)。</source>
        <translation>Enter the band as two positive values, low then high, such as 20 and 20k (empty: the plotted range).</translation>
    </message>
    <message>
        <source>ダイナミックレンジ [dB]</source>
        <translation>Dynamic range [dB]</translation>
    </message>
    <message>
        <source>不明</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>%1Hz 〜 %2Hz, %3 °C</source>
        <translation>%1Hz to %2Hz, %3 °C</translation>
    </message>
    <message>
        <source>ダイナミックレンジにはオペアンプの電源と出力振幅の値が必要です。</source>
        <translation>The dynamic range needs the op-amp&apos;s supply and output swing.</translation>
    </message>
</context>
<context>
    <name>mirelto::OpAmpPanel</name>
    <message>
        <source>例: 2</source>
        <translation>e.g. 2</translation>
    </message>
    <message>
        <source>例: 5</source>
        <translation>e.g. 5</translation>
    </message>
    <message>
        <source>GBW を入力</source>
        <translation>Typed GBW</translation>
    </message>
    <message>
        <source>オペアンプ</source>
        <translation>Op-amp</translation>
    </message>
    <message>
        <source>振幅</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>電源 ±</source>
        <translation>Supply ±</translation>
    </message>
    <message>
        <source>入力する正弦波の振幅 (ピーク値, V) (Amplitude)</source>
        <translation>The input sine&apos;s amplitude (peak, V)</translation>
    </message>
    <message>
        <source>電源電圧 (±V)。空欄では部品の値を使います (Supply)</source>
        <translation>The supply voltage (±V); empty: the part&apos;s</translation>
    </message>
    <message>
        <source>振幅の限界を確かめるには、オペアンプの次の値が必要です: %1</source>
        <translation>Checking the amplitude&apos;s limits needs these op-amp figures: %1</translation>
    </message>
    <message>
        <source>オペアンプ表 %1 の %2 行目を読めません。その前の行までを使います。</source>
        <translation>Cannot read line %2 of the op-amp table %1; the lines before it are used.</translation>
    </message>
</context>
<context>
    <name>mirelto::OptimisePanel</name>
    <message>
        <source>順位</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>fa 誤差 [%]</source>
        <translation>fa error [%]</translation>
    </message>
    <message>
        <source>fo 誤差 [%]</source>
        <translation>fo error [%]</translation>
    </message>
    <message>
        <source>Q 誤差 [%]</source>
        <translation>Q error [%]</translation>
    </message>
    <message>
        <source>最大誤差 [%]</source>
        <translation>Worst error [%]</translation>
    </message>
    <message>
        <source>固定</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>この条件では探索できません (%1)。</source>
        <translation>No search is possible for this input (%1).</translation>
    </message>
    <message>
        <source>メインウィンドウの計算またはモードが変わったため、実行中の探索を中止しました。</source>
        <translation>The main window&apos;s calculation or mode changed, so the running search was stopped.</translation>
    </message>
    <message>
        <source>この表は、メインウィンドウの計算またはモードが変わる前の入力 (%1) による結果です。</source>
        <translation>This table holds the results for the input before the main window&apos;s calculation or mode changed (%1).</translation>
    </message>
    <message>
        <source>理想値: </source>
        <translation>Ideal: </translation>
    </message>
    <message>
        <source>探索しています…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>キャンセルしました (%1 / %2 通りを評価)</source>
        <translation>Cancelled (%1 of %2 combinations evaluated)</translation>
    </message>
    <message>
        <source> (丸め)</source>
        <translation> (rounded)</translation>
    </message>
    <message>
        <source>定数計算で各部品を系列に丸めた回路</source>
        <translation>The circuit &quot;Calculate&quot; builds, each part rounded to its series</translation>
    </message>
    <message>
        <source>%1 通りを評価しました。</source>
        <translation>%1 combinations evaluated.</translation>
    </message>
    <message>
        <source> fa, fo, Q を持たない %1 通りは除外しました。</source>
        <translation> %1 without fa, fo, Q left out.</translation>
    </message>
    <message>
        <source> 定数計算の丸めによる回路は fa, fo, Q を持ちません。</source>
        <translation> The circuit &quot;Calculate&quot; rounds to has no fa, fo, Q.</translation>
    </message>
    <message>
        <source>f(−3dB) [Hz]</source>
        <translation>f(−3dB) [Hz]</translation>
    </message>
    <message>
        <source>f(−3dB) 誤差 [%]</source>
        <translation>f(−3dB) error [%]</translation>
    </message>
    <message>
        <source>応答偏差 [dB]</source>
        <translation>Response dev. [dB]</translation>
    </message>
    <message>
        <source>fa, fo, Q の最大誤差</source>
        <translation>Worst of fa, fo, Q</translation>
    </message>
    <message>
        <source>−3 dB 周波数の誤差</source>
        <translation>−3 dB frequency</translation>
    </message>
    <message>
        <source>振幅特性の偏差</source>
        <translation>Magnitude response</translation>
    </message>
    <message>
        <source> 定数計算の丸めによる回路は「%1」で %2 位です。</source>
        <translation> By &quot;%1&quot;, the circuit &quot;Calculate&quot; rounds to ranks %2.</translation>
    </message>
    <message>
        <source>群遅延偏差 [%]</source>
        <translation>Group delay dev. [%]</translation>
    </message>
    <message>
        <source>群遅延の偏差</source>
        <translation>Group delay</translation>
    </message>
</context>
<context>
    <name>mirelto::PresetsPanel</name>
    <message>
        <source>バターワース</source>
        <translation>Butterworth</translation>
    </message>
    <message>
        <source>ベッセル</source>
        <translation>Bessel</translation>
    </message>
    <message>
        <source>チェビシェフ %1 dB</source>
        <translation>Chebyshev %1 dB</translation>
    </message>
    <message>
        <source>線形位相 %1°</source>
        <translation>Linear phase %1°</translation>
    </message>
    <message>
        <source>ルジャンドル</source>
        <translation>Legendre</translation>
    </message>
    <message>
        <source>群遅延</source>
        <translation>group delay</translation>
    </message>
    <message>
        <source>リプル端</source>
        <translation>ripple edge</translation>
    </message>
    <message>
        <source>fc: −3 dB となる周波数</source>
        <translation>fc: the frequency of −3 dB</translation>
    </message>
    <message>
        <source>fc: 低域での群遅延が 1/(2π·fc) となる周波数</source>
        <translation>fc: where the low-frequency group delay is 1/(2π·fc)</translation>
    </message>
    <message>
        <source>fc: リプル帯域の端の周波数</source>
        <translation>fc: the edge of the ripple band</translation>
    </message>
    <message>
        <source>HPF (fa, fo は LPF 形の逆数で換算)</source>
        <translation>HPF (fa, fo mapped reciprocally from the LPF form)</translation>
    </message>
    <message>
        <source>fc に正の値を入力してください (例: 1k)</source>
        <translation>Please enter a positive value for fc (e.g. 1k)</translation>
    </message>
</context>
<context>
    <name>mirelto::ResponsePanel</name>
    <message>
        <source>PNG 画像 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>SVG 画像 (*.svg)</source>
        <translation>SVG image (*.svg)</translation>
    </message>
    <message>
        <source>GBW「%1」は値として読めません。1M のように正の値を入力してください (空欄: 理想オペアンプ)。</source>
        <translation>GBW &quot;%1&quot; does not read as a value. Enter a positive value such as 1M (empty: ideal op-amp).</translation>
    </message>
    <message>
        <source>グラフを保存</source>
        <translation>Save the plots</translation>
    </message>
</context>
<context>
    <name>mirelto::TableCopy</name>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>すべてコピー</source>
        <translation>Copy all</translation>
    </message>
</context>
<context>
    <name>mirelto::TolerancePanel</name>
    <message>
        <source>一様</source>
        <translation>Uniform</translation>
    </message>
    <message>
        <source>正規 (3σ = 許容差)</source>
        <translation>Normal (3σ = tolerance)</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>公称値</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>感度</source>
        <translation>Sensitivity</translation>
    </message>
    <message>
        <source>%1 回路: </source>
        <translation>%1 circuit: </translation>
    </message>
    <message>
        <source>回路が変わったため、実行中の解析を中止しました。</source>
        <translation>The circuit changed, so the running analysis was stopped.</translation>
    </message>
    <message>
        <source>先に「定数計算」または「伝達関数」を実行してください。</source>
        <translation>Please run &quot;Calculate&quot; or &quot;Transfer&quot; first.</translation>
    </message>
    <message>
        <source>%1 の許容差「%2」は 0 以上 100 未満の % で入力してください。</source>
        <translation>Please enter the tolerance of %1 (&quot;%2&quot;) in % from 0 up to, not including, 100.</translation>
    </message>
    <message>
        <source>シード「%1」は 0 から 18446744073709551615 までの整数で入力してください。</source>
        <translation>Please enter the seed (&quot;%1&quot;) as a whole number from 0 to 18446744073709551615.</translation>
    </message>
    <message>
        <source>解析しています…</source>
        <translation>Analysing…</translation>
    </message>
    <message>
        <source>キャンセルしました (%1 回で中止)</source>
        <translation>Cancelled (stopped after %1 trials)</translation>
    </message>
    <message>
        <source>%1 回の試行 (シード %2)。</source>
        <translation>%1 trials (seed %2).</translation>
    </message>
    <message>
        <source> fa, fo, Q を持たない回路 %1 回は統計から除きました。</source>
        <translation> %1 circuits without fa, fo, Q left out of the statistics.</translation>
    </message>
    <message>
        <source>歩留まりの %1 の判定幅「%2」は 0 以上 100 未満の % で入力してください。</source>
        <translation>Please enter the yield limit of %1 (&quot;%2&quot;) in % from 0 up to, not including, 100.</translation>
    </message>
    <message>
        <source>歩留まり %1 % (%2 / %3 回が判定幅内)</source>
        <translation>Yield %1 % (%2 of %3 trials within the limits)</translation>
    </message>
</context>
</TS>
