<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AutoSaveMode</name>
    <message>
        <source>取得を開始します。クリップボード内の情報を消去しますがよろしいですか?</source>
        <translation>Start saving? What the clipboard holds now will be cleared.</translation>
    </message>
    <message>
        <source>取得中はPrintキーで画面全体をクリップボードにコピーし、保存します。</source>
        <translation>While saving is on, the Print key copies the whole screen to the clipboard, and it is saved.</translation>
    </message>
    <message>
        <source>このデスクトップでは、このウィンドウがアクティブな間にコピーされた画像だけを取得できます。</source>
        <translation>On this desktop, only images copied while this window is active can be saved.</translation>
    </message>
    <message>
        <source>Printキーは他のプログラム（デスクトップ）が使用中です。Ctrl+Printなどでスクリーンショットをクリップボードにコピーすれば保存されます。</source>
        <translation>Another program (the desktop) is using the Print key. Copy a screenshot to the clipboard, for example with Ctrl+Print, and it will be saved.</translation>
    </message>
</context>
<context>
    <name>AutoSaveWatch</name>
    <message>
        <source>クリップボードの持ち主が応答しないため、このコピーは保存しませんでした。</source>
        <translation>This copy was not saved: the program that holds the clipboard did not answer.</translation>
    </message>
    <message>
        <source>クリップボードの画像が大きすぎるため、このコピーは保存しませんでした。</source>
        <translation>This copy was not saved: the image on the clipboard is too large.</translation>
    </message>
    <message>
        <source>クリップボードの画像を読み取れないため、このコピーは保存しませんでした。</source>
        <translation>This copy was not saved: the image on the clipboard cannot be read.</translation>
    </message>
</context>
<context>
    <name>CaptureMode</name>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Screen capture: freeze the screen and select a part of it, or save every image copied to the clipboard.</source>
        <translation>Screen capture: freeze the screen and select a part of it, or save every image copied to the clipboard.</translation>
    </message>
    <message>
        <source>Open &lt;mode&gt; directly: capture (desktop capture) or autosave (print-screen auto-save). The stored default stays as it is.</source>
        <translation>Open &lt;mode&gt; directly: capture (desktop capture) or autosave (print-screen auto-save). The stored default stays as it is.</translation>
    </message>
    <message>
        <source>Show the texts in &lt;language&gt; for this run: ja (Japanese) or en (English). Without it, the desktop&apos;s language decides.</source>
        <translation>Show the texts in &lt;language&gt; for this run: ja (Japanese) or en (English). Without it, the desktop&apos;s language decides.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>unknown language &apos;%1&apos; (ja or en)</source>
        <translation>unknown language &apos;%1&apos; (ja or en)</translation>
    </message>
    <message>
        <source>unknown mode &apos;%1&apos; (capture or autosave)</source>
        <translation>unknown mode &apos;%1&apos; (capture or autosave)</translation>
    </message>
    <message>
        <source>--grab and --mode exclude each other</source>
        <translation>--grab and --mode exclude each other</translation>
    </message>
</context>
<context>
    <name>FlockInstanceLock</name>
    <message>
        <source>多重起動防止のロックファイル %1 を使用できません（%2）。</source>
        <translation>The instance lock %1 cannot be used: %2.</translation>
    </message>
    <message>
        <source>多重起動防止のロックファイルを使用できません（フォルダ %1 はこのユーザー専用ではありません）。</source>
        <translation>The instance lock cannot be used: the folder %1 is not this user&apos;s alone.</translation>
    </message>
    <message>
        <source>多重起動防止のロックファイル %1 を使用できません（このユーザーのファイルではありません）。</source>
        <translation>The instance lock %1 cannot be used: it is not this user&apos;s own file.</translation>
    </message>
</context>
<context>
    <name>GrabCommand</name>
    <message>
        <source>the screen could not be taken: %1</source>
        <translation>the screen could not be taken: %1</translation>
    </message>
</context>
<context>
    <name>GrabOutput</name>
    <message>
        <source>standard output</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>%1 holds every number of Picture_####.png already</source>
        <translation>%1 holds every number of Picture_####.png already</translation>
    </message>
    <message>
        <source>the region %1x%2+%3+%4 is not wholly on the screen (%5x%6)</source>
        <translation>the region %1x%2+%3+%4 is not wholly on the screen (%5x%6)</translation>
    </message>
</context>
<context>
    <name>GrabRequest</name>
    <message>
        <source>bad value &apos;%1&apos; for --%2 (%3)</source>
        <translation>bad value &apos;%1&apos; for --%2 (%3)</translation>
    </message>
    <message>
        <source>--output and --clipboard exclude each other</source>
        <translation>--output and --clipboard exclude each other</translation>
    </message>
    <message>
        <source>cannot tell the format of &apos;%1&apos;: its name must end in .bmp, .jpg, .jpe, .jpeg or .png</source>
        <translation>cannot tell the format of &apos;%1&apos;: its name must end in .bmp, .jpg, .jpe, .jpeg or .png</translation>
    </message>
    <message>
        <source>--%1 applies to a file, not to the clipboard</source>
        <translation>--%1 applies to a file, not to the clipboard</translation>
    </message>
    <message>
        <source>--%1 applies to %2 files only</source>
        <translation>--%1 applies to %2 files only</translation>
    </message>
    <message>
        <source>--rle needs --depth 8</source>
        <translation>--rle needs --depth 8</translation>
    </message>
    <message>
        <source>Take a screenshot without a window and end: the whole screen, saved as the first free Picture_####.png in the pictures folder, unless the options below say otherwise.</source>
        <translation>Take a screenshot without a window and end: the whole screen, saved as the first free Picture_####.png in the pictures folder, unless the options below say otherwise.</translation>
    </message>
    <message>
        <source>With --grab: only this part of the screen, in screen pixels (X geometry: 200x150+100+50).</source>
        <translation>With --grab: only this part of the screen, in screen pixels (X geometry: 200x150+100+50).</translation>
    </message>
    <message>
        <source>With --grab: wait this long first (fractions allowed).</source>
        <translation>With --grab: wait this long first (fractions allowed).</translation>
    </message>
    <message>
        <source>With --grab: save to &lt;file&gt;, in the format of its extension (.bmp, .jpg, .jpeg, .png); - writes a PNG to standard output.</source>
        <translation>With --grab: save to &lt;file&gt;, in the format of its extension (.bmp, .jpg, .jpeg, .png); - writes a PNG to standard output.</translation>
    </message>
    <message>
        <source>With --grab: put the screenshot on the clipboard instead; the program stays in the background until another program takes the clipboard.</source>
        <translation>With --grab: put the screenshot on the clipboard instead; the program stays in the background until another program takes the clipboard.</translation>
    </message>
    <message>
        <source>BMP: colour depth 24, 16 or 8 bits.</source>
        <translation>BMP: colour depth 24, 16 or 8 bits.</translation>
    </message>
    <message>
        <source>BMP: run-length encoded (with --depth 8).</source>
        <translation>BMP: run-length encoded (with --depth 8).</translation>
    </message>
    <message>
        <source>Move the colours toward grey: 0 (not at all) to 255 (fully grey).</source>
        <translation>Move the colours toward grey: 0 (not at all) to 255 (fully grey).</translation>
    </message>
    <message>
        <source>JPEG: quality 1 to 100 (60 without it).</source>
        <translation>JPEG: quality 1 to 100 (60 without it).</translation>
    </message>
    <message>
        <source>JPEG: progressive.</source>
        <translation>JPEG: progressive.</translation>
    </message>
    <message>
        <source>PNG: compression level 0 (fastest) to 9 (smallest).</source>
        <translation>PNG: compression level 0 (fastest) to 9 (smallest).</translation>
    </message>
    <message>
        <source>--%1 needs --grab</source>
        <translation>--%1 needs --grab</translation>
    </message>
</context>
<context>
    <name>ImageFiles</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>%1 を保存できませんでした（%2）。</source>
        <translation>%1 could not be saved (%2).</translation>
    </message>
    <message>
        <source>成功しました</source>
        <translation>success</translation>
    </message>
    <message>
        <source>画像がありません</source>
        <translation>no image</translation>
    </message>
    <message>
        <source>値が範囲外です</source>
        <translation>a value is out of range</translation>
    </message>
    <message>
        <source>画像が大きすぎます</source>
        <translation>the image is too large</translation>
    </message>
    <message>
        <source>メモリが足りません</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>この色数の画像には使えない変換です</source>
        <translation>the conversion does not apply to an image of this colour depth</translation>
    </message>
    <message>
        <source>ファイルを作成できません</source>
        <translation>the file cannot be created</translation>
    </message>
    <message>
        <source>ファイルの書き込みに失敗しました</source>
        <translation>writing the file failed</translation>
    </message>
    <message>
        <source>画像の圧縮に失敗しました</source>
        <translation>encoding the image failed</translation>
    </message>
    <message>
        <source>画像ファイルを読み取れません</source>
        <translation>the image file cannot be read</translation>
    </message>
    <message>
        <source>同じ名前のファイルがあります</source>
        <translation>a file of that name exists</translation>
    </message>
    <message>
        <source>共有フォルダにある他のユーザーのリンクまたはファイルです</source>
        <translation>the name is another user&apos;s link or file in a shared folder</translation>
    </message>
    <message>
        <source>不明なエラーです</source>
        <translation>unknown error</translation>
    </message>
</context>
<context>
    <name>ImageOutput</name>
    <message>
        <source>BMPファイル(*.bmp)|*.bmp|JPEGファイル(*.jpg,*jpe,*jpeg)|*.jpg;*.jpe;*.jpeg|PINGファイル(*.png)|*.png|全てのファイル|*.*</source>
        <translation>BMP files (*.bmp)|*.bmp|JPEG files (*.jpg, *.jpe, *.jpeg)|*.jpg;*.jpe;*.jpeg|PNG files (*.png)|*.png|All files|*.*</translation>
    </message>
    <message>
        <source>範囲が選択されていないか、余りにも範囲が狭すぎます。</source>
        <translation>No area is selected, or the area is too small.</translation>
    </message>
    <message>
        <source>%1 は保存できません。「全てのファイル」で保存できるのは、拡張子が .bmp、.jpg、.jpe、.jpeg、.png のファイルです。</source>
        <translation>%1 cannot be saved. Under &quot;All files&quot;, only names ending in .bmp, .jpg, .jpe, .jpeg or .png can be saved.</translation>
    </message>
</context>
<context>
    <name>KWinScreenshot</name>
    <message>
        <source>画面を取得できません: KWin との受け渡しを用意できません。</source>
        <translation>The screen cannot be captured: the transfer from KWin cannot be set up.</translation>
    </message>
    <message>
        <source>画面を取得できません: KWin がこのプログラムに画面の取得を許可していません。このプログラムのデスクトップエントリ (scrimble.desktop: Exec にこのプログラムのフルパス、X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2) をインストールしてください。</source>
        <translation>The screen cannot be captured: KWin does not allow this program to take screenshots. Install this program&apos;s desktop entry (scrimble.desktop: Exec with this program&apos;s full path, X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2).</translation>
    </message>
    <message>
        <source>画面を取得できません: KWin が応答しません (%1)。</source>
        <translation>The screen cannot be captured: KWin does not answer (%1).</translation>
    </message>
    <message>
        <source>画面を取得できません: KWin が画像を返しませんでした。</source>
        <translation>The screen cannot be captured: KWin returned no image.</translation>
    </message>
</context>
<context>
    <name>NumberedNames</name>
    <message>
        <source>ワイルドカード文字(#)は連続で入力してください。</source>
        <translation>Type the wildcard characters (#) in one unbroken run.</translation>
    </message>
</context>
<context>
    <name>Opt</name>
    <message>
        <source>各種設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ビット変調</source>
        <translation>Color depth</translation>
    </message>
    <message>
        <source>24Bit（True Color)</source>
        <translation>24-bit (True Color)</translation>
    </message>
    <message>
        <source>16Bit（High Color)</source>
        <translation>16-bit (High Color)</translation>
    </message>
    <message>
        <source>8Bit</source>
        <translation>8-bit</translation>
    </message>
    <message>
        <source>BMP保存時設定（8Bit時のみ）</source>
        <translation>BMP files (8-bit only)</translation>
    </message>
    <message>
        <source>RLE化</source>
        <translation>RLE compression</translation>
    </message>
    <message>
        <source>色データボックスの区切り方</source>
        <translation>How color boxes are split</translation>
    </message>
    <message>
        <source>最大値と最小値の差が大きい色（デフォルト）</source>
        <translation>Along the color of widest range (default)</translation>
    </message>
    <message>
        <source>最大値と最小値から計算した明るさの差</source>
        <translation>By brightness from the largest and smallest values</translation>
    </message>
    <message>
        <source>各ボックスからの色の選定方法</source>
        <translation>How each box picks its color</translation>
    </message>
    <message>
        <source>ボックス中の中間の色（デフォルト）</source>
        <translation>The middle color of the box (default)</translation>
    </message>
    <message>
        <source>ボックス中に存在する色の平均値</source>
        <translation>The average of the colors in the box</translation>
    </message>
    <message>
        <source>ボックス中の全ての点の平均値</source>
        <translation>The average of all pixels in the box</translation>
    </message>
    <message>
        <source>パレットからの色の選定方法</source>
        <translation>How pixels pick a palette color</translation>
    </message>
    <message>
        <source>RGBの距離が最短のもの（デフォルト）</source>
        <translation>Nearest in RGB (default)</translation>
    </message>
    <message>
        <source>明るさの距離が最短のもの</source>
        <translation>Nearest in brightness</translation>
    </message>
    <message>
        <source>YCrCb成分の距離が最短のもの</source>
        <translation>Nearest in YCrCb</translation>
    </message>
    <message>
        <source>JPEG保存時設定</source>
        <translation>JPEG files</translation>
    </message>
    <message>
        <source>JPEG圧縮率</source>
        <translation>JPEG quality</translation>
    </message>
    <message>
        <source>高圧縮低画質</source>
        <translation>Smaller, lower quality</translation>
    </message>
    <message>
        <source>低圧縮高画像</source>
        <translation>Larger, higher quality</translation>
    </message>
    <message>
        <source>プログレッシブJPEG</source>
        <translation>Progressive JPEG</translation>
    </message>
    <message>
        <source>PING保存時設定</source>
        <translation>PNG files</translation>
    </message>
    <message>
        <source>普通</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>詳細</source>
        <translation>Detailed</translation>
    </message>
    <message>
        <source>PING保存時詳細設定</source>
        <translation>PNG details</translation>
    </message>
    <message>
        <source>インターレースPING</source>
        <translation>Interlaced PNG</translation>
    </message>
    <message>
        <source>PING圧縮率</source>
        <translation>PNG compression</translation>
    </message>
    <message>
        <source>低圧縮</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>高圧縮</source>
        <translation>High</translation>
    </message>
    <message>
        <source>ガンマ補正</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Winデフォルト</source>
        <translation>Windows default</translation>
    </message>
    <message>
        <source>Macデフォルト</source>
        <translation>Mac default</translation>
    </message>
    <message>
        <source>フィルター</source>
        <translation>Filters</translation>
    </message>
    <message>
        <source>横方向に似たような色が続く部分が多い場合</source>
        <translation>Many runs of similar colors across</translation>
    </message>
    <message>
        <source>縦方向に似たような色が続く部分が多い場合</source>
        <translation>Many runs of similar colors down</translation>
    </message>
    <message>
        <source>似たような変化の色をもった領域</source>
        <translation>Areas with similar color changes</translation>
    </message>
    <message>
        <source>なだらかな色の領域</source>
        <translation>Areas of smooth color</translation>
    </message>
    <message>
        <source>上記のうち当てはまるものにチェックすると、ファイルの圧縮率が高くなる場合があります。</source>
        <translation>Ticking those that apply to the picture may make the file smaller.</translation>
    </message>
    <message>
        <source>グレースケール</source>
        <translation>Grayscale</translation>
    </message>
    <message>
        <source>RGB</source>
        <translation>RGB</translation>
    </message>
    <message>
        <source>淡色化処理</source>
        <translation>Faded</translation>
    </message>
    <message>
        <source>無処理</source>
        <translation>Unchanged</translation>
    </message>
    <message>
        <source>グレー&#x3000;&#x3000;スケール</source>
        <translation>Grayscale</translation>
    </message>
    <message>
        <source>グレースケールでは、BMPでは対応しますが、JPEGでは変換されません。JPEGでグレースケールのままで保存する場合にはRGBに変換してから保存するように設定出来ます。</source>
        <translation>BMP files keep the grayscale; JPEG files do not. To save a JPEG in grayscale, choose to convert it to RGB before it is saved.</translation>
    </message>
    <message>
        <source>更新(&amp;R)</source>
        <translation>&amp;Update</translation>
    </message>
    <message>
        <source>全デフォルト(&amp;D)</source>
        <translation>All &amp;Defaults</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>設定（&amp;O）</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>全てデフォルト(&amp;D)</source>
        <translation>All &amp;Defaults</translation>
    </message>
    <message>
        <source>解像度(&amp;T)</source>
        <translation>Screen Resolu&amp;tion</translation>
    </message>
</context>
<context>
    <name>PortalScreenGrabber</name>
    <message>
        <source>画面を取得できません: セッションバス (D-Bus) に接続できません。</source>
        <translation>The screen cannot be captured: the session bus (D-Bus) cannot be reached.</translation>
    </message>
    <message>
        <source>画面を取得できません: スクリーンショットのポータルが応答しません (%1)。</source>
        <translation>The screen cannot be captured: the screenshot portal does not answer (%1).</translation>
    </message>
    <message>
        <source>画面の取得が拒否されました。</source>
        <translation>Screen capture was refused.</translation>
    </message>
    <message>
        <source>画面を取得できません: ポータルが画像を返しませんでした。</source>
        <translation>The screen cannot be captured: the portal returned no image.</translation>
    </message>
    <message>
        <source>画面を取得できません: ポータルの画像を読めません。</source>
        <translation>The screen cannot be captured: the portal&apos;s image cannot be read.</translation>
    </message>
</context>
<context>
    <name>PrtScSave</name>
    <message>
        <source>保存先フォルダ名：</source>
        <translation>Save in folder:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>保存ファイル名：</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>保存ファイル名に半角シャープ記号(#)を入力することにより連番ファイルとして保存できます。</source>
        <translation>Put hash signs (#) in the file name to save numbered files.</translation>
    </message>
    <message>
        <source>連番開始数値</source>
        <translation>First number</translation>
    </message>
    <message>
        <source>連番最大値</source>
        <translation>Largest number</translation>
    </message>
    <message>
        <source>連番開始値検索</source>
        <translation>Find first number</translation>
    </message>
    <message>
        <source>保存フォルダ先に指定ファイル名で保存できる最も小さな数値を検索します。</source>
        <translation>Finds the smallest number under which the file name is free in the folder.</translation>
    </message>
    <message>
        <source>既存ファイルの上書きを許可する</source>
        <translation>Allow overwriting existing files</translation>
    </message>
    <message>
        <source>連番開始値からファイルを保存する際、すでに同ファイルが存在してもスキップせずに上書き保存します。ただし、現在の連番値が連番最大値を超した場合には連番値を0とし、ファイル名の後に&quot;_$&quot;($は0以上で、保存できる最も小さい数値とする)にファイル名が変換されます。</source>
        <translation>Saving from the first number overwrites a file of the same name instead of skipping it. Once the number passes the largest number, it starts again at 0 and &quot;_$&quot; is added to the file name ($ being the smallest number from 0 that can be saved).</translation>
    </message>
    <message>
        <source>保存形式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>BMP形式</source>
        <translation>BMP</translation>
    </message>
    <message>
        <source>JPG形式</source>
        <translation>JPG</translation>
    </message>
    <message>
        <source>PNG形式</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>BMP設定</source>
        <translation>BMP</translation>
    </message>
    <message>
        <source>24bit</source>
        <translation>24-bit</translation>
    </message>
    <message>
        <source>16bit</source>
        <translation>16-bit</translation>
    </message>
    <message>
        <source>8bit</source>
        <translation>8-bit</translation>
    </message>
    <message>
        <source>RLE化</source>
        <translation>RLE compression</translation>
    </message>
    <message>
        <source>グレースケール</source>
        <translation>Grayscale</translation>
    </message>
    <message>
        <source>JPG設定</source>
        <translation>JPG</translation>
    </message>
    <message>
        <source>圧縮率</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>1(高圧縮)～100(高画質)</source>
        <translation>1 (smallest) to 100 (best)</translation>
    </message>
    <message>
        <source>プログレッシブ</source>
        <translation>Progressive</translation>
    </message>
    <message>
        <source>PNG設定</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>0(低圧縮)～9(高圧縮)</source>
        <translation>0 (fastest) to 9 (smallest)</translation>
    </message>
    <message>
        <source>圧縮率を高くしても画質の劣化はありません。</source>
        <translation>A higher level never lowers the quality.</translation>
    </message>
    <message>
        <source>インターレース</source>
        <translation>Interlaced</translation>
    </message>
    <message>
        <source>時間間隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>取得開始(&amp;S)</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>取得終了(&amp;E)</source>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <source>クリップボード内を調べる時間間隔をms (1000分の1秒)単位で指定できます。</source>
        <translation>How often the clipboard is checked, in ms (thousandths of a second).</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>終了(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>機能選択画面(&amp;S)</source>
        <translation>&amp;Mode Selection</translation>
    </message>
    <message>
        <source>フォルダの選択</source>
        <translation>Choose a Folder</translation>
    </message>
</context>
<context>
    <name>ScreenInformation</name>
    <message>
        <source>画素数</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>画面の領域&#x3000;%1X%2<byte value="xd"/>
解像度&#x3000;   &#x3000;%3ビット</source>
        <translation>Screen area: %1 x %2<byte value="xd"/>
Color depth: %3 bits</translation>
    </message>
</context>
<context>
    <name>ScreenWait</name>
    <message>
        <source>画面の取得をデスクトップが許可するのを待っています。</source>
        <translation>Waiting for the desktop to allow the screen capture.</translation>
    </message>
    <message>
        <source>キャンセル(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>SelectMode</name>
    <message>
        <source>機能セレクト</source>
        <translation>Choose a Mode</translation>
    </message>
    <message>
        <source>デスクトップキャプチャ</source>
        <translation>Desktop capture</translation>
    </message>
    <message>
        <source>Scrimbleの通常機能です。画像を取得、範囲を選択、保存します。</source>
        <translation>Scrimble&apos;s usual mode: take a picture of the screen, select an area and save it.</translation>
    </message>
    <message>
        <source>プリントスクリーンセーブ</source>
        <translation>Print-screen auto-save</translation>
    </message>
    <message>
        <source>プリントスクリーンボタンを押してデスクトップ画像を取得すると自動的にファイルに保存されます。そのためいちいち画像編集ソフトを起動して保存する手間が省けます。</source>
        <translation>Press the Print Screen key to take a picture of the desktop, and it is saved to a file at once, with no image editor to open each time.</translation>
    </message>
    <message>
        <source>起動時にデフォルトとして使用する。</source>
        <translation>Use this mode at every start.</translation>
    </message>
    <message>
        <source>OK(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>X11ScreenGrabber</name>
    <message>
        <source>X11 ディスプレイ &quot;%1&quot; に接続できません: 画面を読み取れません。</source>
        <translation>The X11 display &quot;%1&quot; cannot be reached: the screen cannot be read.</translation>
    </message>
    <message>
        <source>この Wayland セッションには X11 ディスプレイがありません (DISPLAY が設定されていません): 画面を読み取れません。</source>
        <translation>This Wayland session offers no X11 display (DISPLAY is not set): the screen cannot be read.</translation>
    </message>
    <message>
        <source>X11 ディスプレイがありません (DISPLAY が設定されていません): 画面を読み取れません。</source>
        <translation>No X11 display (DISPLAY is not set): the screen cannot be read.</translation>
    </message>
    <message>
        <source>X11 の画面は 1 ピクセル %1 ビットで、読み取れません。</source>
        <translation>The X11 screen uses %1 bits per pixel, which cannot be read.</translation>
    </message>
    <message>
        <source>X11 ディスプレイとの接続が切れました: 画面を読み取れません。</source>
        <translation>The connection to the X11 display was lost: the screen cannot be read.</translation>
    </message>
    <message>
        <source>X サーバーが画面の画像を送りませんでした。</source>
        <translation>The X server refused to send the screen image.</translation>
    </message>
</context>
<context>
    <name>formcom</name>
    <message>
        <source>コマンド(Scrimble)</source>
        <translation>Commands (Scrimble)</translation>
    </message>
    <message>
        <source>タイマ</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>second</source>
        <translation>s</translation>
    </message>
    <message>
        <source>画像倍率</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>座標入力</source>
        <translation>Coordinates</translation>
    </message>
    <message>
        <source>終点</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Y座標</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>始点</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>X座標</source>
        <translation>X</translation>
    </message>
    <message>
        <source>更新(&amp;R)</source>
        <translation>&amp;Update</translation>
    </message>
    <message>
        <source>クリップボードにコピー(&amp;B)</source>
        <translation>Copy to Clip&amp;board</translation>
    </message>
    <message>
        <source>ピクチャフォーム最小化(&amp;V)</source>
        <translation>Minimize &amp;Desktop</translation>
    </message>
    <message>
        <source>全面選択(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>保存詳細(&amp;O)</source>
        <translation>Save &amp;Options</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>クリア(&amp;C)</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>設定(&amp;P)</source>
        <translation>&amp;Preferences</translation>
    </message>
    <message>
        <source>その他(&amp;A)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>画像保存(&amp;T)</source>
        <translation>Save &amp;Image</translation>
    </message>
    <message>
        <source>画像クリア(&amp;C)</source>
        <translation>&amp;Clear Image</translation>
    </message>
    <message>
        <source>終了(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>保存して終了(&amp;S)</source>
        <translation>&amp;Save and Exit</translation>
    </message>
    <message>
        <source>機能選択画面(&amp;M)</source>
        <translation>&amp;Mode Selection</translation>
    </message>
    <message>
        <source>クリップボードにコピー(&amp;C)</source>
        <translation>&amp;Copy to Clipboard</translation>
    </message>
    <message>
        <source>解像度(&amp;S)</source>
        <translation>&amp;Screen Resolution</translation>
    </message>
    <message>
        <source>バージョン(&amp;V)</source>
        <translation>&amp;Version</translation>
    </message>
    <message>
        <source>画像取得(&amp;T)</source>
        <translation>&amp;Take Image</translation>
    </message>
    <message>
        <source>ピクチャフォーム最大化(&amp;S)</source>
        <translation>Maximize &amp;Desktop</translation>
    </message>
    <message>
        <source>ピクチャフォーム最小化(&amp;S)</source>
        <translation>Minimize &amp;Desktop</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Scrimble</source>
        <translation>Scrimble</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>このファイルは、デスクトップ上の画像を取得し、選択範囲の設定変更、伸長、保存時の設定変更を行い、BMP、RLE－BMP、JPEG、PING形式で保存するソフトです。</source>
        <translation>This program takes a picture of the desktop, lets you change the selected area, the magnification and the save settings, and saves it as a BMP, RLE BMP, JPEG or PNG file.</translation>
    </message>
    <message>
        <source>また、クリップボード内の画像データを連番ファイルとして保存する機能も持っています。</source>
        <translation>It also saves the images copied to the clipboard as numbered files.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ情報(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source>Scrimbleのﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Scrimble</translation>
    </message>
    <message>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation>System information is not available at this time.</translation>
    </message>
</context>
<context>
    <name>gazou</name>
    <message>
        <source>取得画像</source>
        <translation>Captured Image</translation>
    </message>
</context>
</TS>
