<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>FailureReasons</name>
    <message>
        <source>Cannot write the book &quot;%1&quot;. %2</source>
        <translation>無法寫入電子書「%1」。%2</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; would replace its source &quot;%2&quot;; choose another name for the book</source>
        <translation>電子書「%1」會覆寫它的來源檔案「%2」；請為電子書另選一個名稱</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; would replace its cover &quot;%2&quot;; choose another name for the book</source>
        <translation>電子書「%1」會覆寫它的封面「%2」；請為電子書另選一個名稱</translation>
    </message>
    <message>
        <source>The book would be written to the text file &quot;%1&quot;; a book needs a name of its own, such as book.epub</source>
        <translation>電子書會寫入文字檔「%1」；電子書需要自己的名稱，例如 book.epub</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; would replace its style sheet &quot;%2&quot;; choose another name for the book</source>
        <translation>電子書「%1」會覆寫它的樣式表「%2」；請為電子書另選一個名稱</translation>
    </message>
    <message>
        <source>The book would be written to the text file &quot;%1&quot; that &quot;%2&quot; links to; a book needs a name of its own, such as book.epub</source>
        <translation>電子書會寫入「%2」連結到的文字檔「%1」；電子書需要自己的名稱，例如 book.epub</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: it is a symbolic link of another user&apos;s, which a book is not written through; choose another name for the book</source>
        <translation>無法寫入電子書「%1」：它是其他使用者的符號連結，電子書不會經由它寫入；請為電子書另選一個名稱</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: it is a symbolic link that leads round in a circle</source>
        <translation>無法寫入電子書「%1」：它是循環指向的符號連結</translation>
    </message>
    <message>
        <source>Cannot replace the write-protected file &quot;%1&quot;. %2</source>
        <translation>無法取代防寫的檔案「%1」。%2</translation>
    </message>
    <message>
        <source>Not enough memory to read &quot;%1&quot;</source>
        <translation>記憶體不足，無法讀取「%1」</translation>
    </message>
    <message>
        <source>The conversion was stopped</source>
        <translation>轉換已停止</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>磁碟空間不足</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>權限不足</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>沒有此檔案或目錄</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>檔案過大</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>開啟的檔案過多</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>是一個目錄</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>唯讀檔案系統</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>超出磁碟配額</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>輸入/輸出錯誤</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>不是一般檔案</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>無法開啟檔案「%1」。%2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>無法建立檔案「%1」。%2</translation>
    </message>
    <message>
        <source>Cannot read file &quot;%1&quot;. %2</source>
        <translation>無法讀取檔案「%1」。%2</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;. %2</source>
        <translation>無法寫入檔案「%1」。%2</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot; to disk. %2</source>
        <translation>無法將檔案「%1」寫入磁碟。%2</translation>
    </message>
    <message>
        <source>Cannot close file &quot;%1&quot;. %2</source>
        <translation>無法關閉檔案「%1」。%2</translation>
    </message>
    <message>
        <source>Cannot seek in file &quot;%1&quot;. %2</source>
        <translation>無法在檔案「%1」中定位。%2</translation>
    </message>
    <message>
        <source>Cannot resize file &quot;%1&quot;. %2</source>
        <translation>無法調整檔案「%1」的大小。%2</translation>
    </message>
    <message>
        <source>Cannot read the book folder &quot;%1&quot;. %2</source>
        <translation>無法讀取電子書資料夾「%1」。%2</translation>
    </message>
    <message>
        <source>Cannot create a working folder in &quot;%1&quot;. %2</source>
        <translation>無法在「%1」中建立工作資料夾。%2</translation>
    </message>
    <message>
        <source>Cannot prepare the working folder &quot;%1&quot;. %2</source>
        <translation>無法準備工作資料夾「%1」。%2</translation>
    </message>
    <message>
        <source>Cannot write a piece of &quot;%1&quot; in the temporary folder &quot;%2&quot;. %3</source>
        <translation>無法在暫存資料夾「%2」中寫入「%1」的一部分。%3</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: no output file is named</source>
        <translation>無法寫入電子書「%1」：未指定輸出檔案</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot; as EPUB %2: the converter makes EPUB 2 and EPUB 3 books</source>
        <translation>無法將電子書「%1」寫成 EPUB %2：本轉換器只產生 EPUB 2 和 EPUB 3 電子書</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot; vertically as EPUB 2: vertical writing needs EPUB 3</source>
        <translation>無法將電子書「%1」以直排寫成 EPUB 2：直排需要 EPUB 3</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: a book of 4 GiB or of 65,535 files needs Zip64, which the converter does not write</source>
        <translation>無法寫入電子書「%1」：達到 4 GiB 或 65,535 個檔案的電子書需要 Zip64，本轉換器不寫這種格式</translation>
    </message>
    <message>
        <source>Cannot pack &quot;%1&quot; into the book: %2</source>
        <translation>無法將「%1」打包進電子書：%2</translation>
    </message>
    <message>
        <source>Cannot pack &quot;%1&quot; into the book: it has disappeared</source>
        <translation>無法將「%1」打包進電子書：它已不存在</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; was not written as it must be (%2); the earlier file, if any, is kept</source>
        <translation>電子書「%1」沒有按要求寫成（%2）；原有的檔案（如有）已保留</translation>
    </message>
    <message>
        <source>Not enough memory to write the book &quot;%1&quot;</source>
        <translation>記憶體不足，無法寫入電子書「%1」</translation>
    </message>
    <message>
        <source>Not enough memory for the conversion</source>
        <translation>記憶體不足，無法完成轉換</translation>
    </message>
    <message>
        <source>The system refused what the conversion needs. %1</source>
        <translation>系統拒絕了轉換所需的資源。%1</translation>
    </message>
    <message>
        <source>Unexpected failure: %1</source>
        <translation>意外錯誤：%1</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: it is not a JPEG, PNG, GIF or BMP picture</source>
        <translation>無法將「%1」用作封面：它不是 JPEG、PNG、GIF 或 BMP 圖片</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture file is too large (%2 MB; a cover may have at most %3 MB)</source>
        <translation>無法將「%1」用作封面：圖片檔案過大（%2 MB；封面最多 %3 MB）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: run-length encoded BMP pictures are not supported; save it as PNG or JPEG</source>
        <translation>無法將「%1」用作封面：不支援遊程編碼的 BMP 圖片；請將它另存為 PNG 或 JPEG</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is damaged (%2)</source>
        <translation>無法將「%1」用作封面：圖片已損壞（%2）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is damaged (it is cut short)</source>
        <translation>無法將「%1」用作封面：圖片已損壞（檔案不完整）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is damaged (it holds an unknown block before its picture)</source>
        <translation>無法將「%1」用作封面：圖片已損壞（影像之前有未知的資料區塊）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is too large (%2 x %3 pixels; a cover may have at most %4 million)</source>
        <translation>無法將「%1」用作封面：圖片過大（%2 × %3 像素；封面最多 %4 百萬像素）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: there is not enough memory to check the picture</source>
        <translation>無法將「%1」用作封面：記憶體不足，無法檢查圖片</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: it cannot be converted to PNG</source>
        <translation>無法將「%1」用作封面：無法將它轉換為 PNG</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is larger than 1 MiB, too large for a style sheet</source>
        <translation>無法使用樣式表「%1」：它大於 1 MiB，對樣式表來說過大</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is not UTF-8 text</source>
        <translation>無法使用樣式表「%1」：它不是 UTF-8 文字</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is not text (it holds NUL bytes)</source>
        <translation>無法使用樣式表「%1」：它不是文字（含有 NUL 位元組）</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is empty</source>
        <translation>無法使用樣式表「%1」：它是空的</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it imports another style sheet (@import); a book takes one of yours, so put its rules in this one</source>
        <translation>無法使用樣式表「%1」：它匯入了另一個樣式表（@import）；書只收一個樣式表，請把其中的規則寫進這一個</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: a url( is not closed</source>
        <translation>無法使用樣式表「%1」：有一個 url( 沒有閉合</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it names &quot;%2&quot; on the network; a book holds its own fonts and pictures, so name a file next to the style sheet</source>
        <translation>無法使用樣式表「%1」：它引用了網路上的「%2」；書自帶字型和圖片，請引用樣式表旁邊的檔案</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: &quot;%2&quot; is not a font or picture a book can hold (TrueType, OpenType, WOFF, WOFF2, PNG, JPEG, GIF or SVG)</source>
        <translation>無法使用樣式表「%1」：「%2」不是書能收入的字型或圖片（TrueType、OpenType、WOFF、WOFF2、PNG、JPEG、GIF 或 SVG）</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: cannot read &quot;%2&quot;. %3</source>
        <translation>無法使用樣式表「%1」：無法讀取「%2」。%3</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: &quot;%2&quot; is larger than 64 MiB</source>
        <translation>無法使用樣式表「%1」：「%2」大於 64 MiB</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: &quot;%2&quot; is not a %3 file, as its name says</source>
        <translation>無法使用樣式表「%1」：「%2」並不像其名稱所示是 %3 檔案</translation>
    </message>
    <message>
        <source>Unknown text encoding &quot;%1&quot;</source>
        <translation>未知的文字編碼「%1」</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a language tag (BCP 47, such as en, zh-CN or ja)</source>
        <translation>「%1」不是語言標記（BCP 47，例如 en、zh-CN 或 ja）</translation>
    </message>
    <message>
        <source>The chapter pattern &quot;%1&quot; does not compile: %2 at offset %3</source>
        <translation>章節模式「%1」無法編譯：%2（位置 %3）</translation>
    </message>
    <message>
        <source>The volume pattern &quot;%1&quot; does not compile: %2 at offset %3</source>
        <translation>卷模式「%1」無法編譯：%2（位置 %3）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the chapter pattern &quot;%2&quot; needs too much work to match the line &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>無法尋找「%1」的章節：章節模式「%2」比對行「%3」所需的工作量過大；請簡化它（像 (a+)+ 這樣的巢狀重複會無休止地回溯）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the volume pattern &quot;%2&quot; needs too much work to match the line &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>無法尋找「%1」的章節：卷模式「%2」比對行「%3」所需的工作量過大；請簡化它（像 (a+)+ 這樣的巢狀重複會無休止地回溯）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the chapter pattern &quot;%2&quot; needs too much work to match lines such as &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>無法尋找「%1」的章節：章節模式「%2」比對「%3」這類行所需的工作量過大；請簡化它（像 (a+)+ 這樣的巢狀重複會無休止地回溯）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the volume pattern &quot;%2&quot; needs too much work to match lines such as &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>無法尋找「%1」的章節：卷模式「%2」比對「%3」這類行所需的工作量過大；請簡化它（像 (a+)+ 這樣的巢狀重複會無休止地回溯）</translation>
    </message>
    <message>
        <source>The system clock gives a time no book can record (%1 s)</source>
        <translation>系統時鐘給出的時間（%1 秒）無法記錄在電子書中</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>不允許的操作</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>不是目錄</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>檔案已存在</translation>
    </message>
    <message>
        <source>Directory not empty</source>
        <translation>目錄不是空的</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>檔名過長</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>符號連結的層數過多</translation>
    </message>
    <message>
        <source>Too many links</source>
        <translation>連結過多</translation>
    </message>
    <message>
        <source>Invalid cross-device link</source>
        <translation>無效的跨裝置連結</translation>
    </message>
    <message>
        <source>Too many open files in system</source>
        <translation>系統中開啟的檔案過多</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>無法配置記憶體</translation>
    </message>
    <message>
        <source>Resource temporarily unavailable</source>
        <translation>資源暫時無法使用</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>裝置或資源忙碌中</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>文字檔忙碌中</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>沒有此裝置或位址</translation>
    </message>
    <message>
        <source>No such device</source>
        <translation>沒有此裝置</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>無效的引數</translation>
    </message>
    <message>
        <source>Value too large for defined data type</source>
        <translation>數值對於定義的資料型別過大</translation>
    </message>
    <message>
        <source>Operation not supported</source>
        <translation>不支援的操作</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>系統呼叫被中斷</translation>
    </message>
    <message>
        <source>Stale file handle</source>
        <translation>失效的檔案控制代碼</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>連線逾時</translation>
    </message>
    <message>
        <source>No locks available</source>
        <translation>沒有可用的鎖</translation>
    </message>
    <message>
        <source>System error %1 (%2)</source>
        <translation>系統錯誤 %1（%2）</translation>
    </message>
    <message>
        <source>chapter %1 missing</source>
        <translation>缺少第 %1 章</translation>
    </message>
    <message>
        <source>chapter %1 repeated</source>
        <translation>第 %1 章重複</translation>
    </message>
    <message>
        <source>%1 byte is not %2 text, shown as U+FFFD</source>
        <translation>%1 個位元組不是 %2 文字，顯示為替代字元 �</translation>
    </message>
    <message>
        <source>%1 bytes are not %2 text, each shown as U+FFFD</source>
        <translation>%1 個位元組不是 %2 文字，皆顯示為替代字元 �</translation>
    </message>
    <message>
        <source>%1 annotation not understood</source>
        <translation>%1 處註記無法辨識</translation>
    </message>
    <message>
        <source>%1 annotations not understood</source>
        <translation>%1 處註記無法辨識</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>%1 annotation not understood: %2</source>
        <translation>%1 處註記無法辨識：%2</translation>
    </message>
    <message>
        <source>%1 annotations not understood: %2</source>
        <translation>%1 處註記無法辨識：%2</translation>
    </message>
    <message>
        <source>Cannot load the Chinese script conversion &quot;%1&quot;. %2</source>
        <translation>無法載入簡繁轉換「%1」。%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a .txt file nor a folder; give text files or folders of them</source>
        <translation>「%1」既不是 .txt 檔案也不是資料夾；請給出文字檔或存放它們的資料夾</translation>
    </message>
    <message>
        <source>Cannot read the folder &quot;%1&quot;. %2</source>
        <translation>無法讀取資料夾「%1」。%2</translation>
    </message>
    <message>
        <source>No .txt file found in the folder &quot;%1&quot;</source>
        <translation>資料夾「%1」中沒有 .txt 檔案</translation>
    </message>
    <message>
        <source>Cannot put the books in &quot;%1&quot;: it is a file, not a folder</source>
        <translation>無法把書放進「%1」：它是檔案，不是資料夾</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot; for the books. %2</source>
        <translation>無法建立存放書的資料夾「%1」。%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid ISBN: an ISBN has 10 or 13 digits and its last digit must match the others</source>
        <translation>「%1」不是有效的 ISBN：ISBN 有 10 或 13 位數字，最後一位必須與其他各位相符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date of the form YYYY, YYYY-MM or YYYY-MM-DD</source>
        <translation>「%1」不是 YYYY、YYYY-MM 或 YYYY-MM-DD 形式的日期</translation>
    </message>
</context>
<context>
    <name>folivane::ui::EllipsisEdit</name>
    <message>
        <source>Choose</source>
        <translation>選擇</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
</context>
<context>
    <name>folivane::ui::TAppearanceDialog</name>
    <message>
        <source>Appearance of the Book</source>
        <translation>電子書外觀</translation>
    </message>
    <message>
        <source>How far the first line of a paragraph is indented. Automatic: 2 em in Chinese, Japanese and Korean books, 1.5 em in others</source>
        <translation>段落首行縮排的距離。自動：中文、日文和韓文電子書縮排 2 em，其他 1.5 em</translation>
    </message>
    <message>
        <source>The space between paragraphs. Automatic: none between indented paragraphs, some when they are not indented</source>
        <translation>段落之間的間距。自動：有縮排的段落之間沒有間距，沒有縮排時留一些間距</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
    <message>
        <source>A CSS file of your own, added to the book after its own style sheet, so that its rules win</source>
        <translation>您自己的 CSS 檔案，加在電子書自帶的樣式表之後，其規則優先</translation>
    </message>
    <message>
        <source>Choose style sheet</source>
        <translation>選擇樣式表</translation>
    </message>
    <message>
        <source>Choose a style sheet (.css)</source>
        <translation>選擇樣式表 (.css)</translation>
    </message>
    <message>
        <source>Remove style sheet</source>
        <translation>去掉樣式表</translation>
    </message>
    <message>
        <source>Remove the style sheet</source>
        <translation>去掉樣式表</translation>
    </message>
    <message>
        <source>Paragraph indent:</source>
        <translation>段落縮排：</translation>
    </message>
    <message>
        <source>Space between paragraphs:</source>
        <translation>段落間距：</translation>
    </message>
    <message>
        <source>Style sheet:</source>
        <translation>樣式表：</translation>
    </message>
    <message>
        <source>Automatic indent and spacing, no style sheet</source>
        <translation>自動縮排和間距，不用樣式表</translation>
    </message>
    <message>
        <source>Close; the choices are kept as they are</source>
        <translation>關閉；所做的選擇會保留</translation>
    </message>
    <message>
        <source> em</source>
        <translation> em</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Paragraph indent: %1</source>
        <translation>段落縮排：%1</translation>
    </message>
    <message>
        <source>Space between paragraphs: %1</source>
        <translation>段落間距：%1</translation>
    </message>
    <message>
        <source>Style sheet: %1</source>
        <translation>樣式表：%1</translation>
    </message>
    <message>
        <source>Choose a Style Sheet</source>
        <translation>選擇樣式表</translation>
    </message>
    <message>
        <source>Style Sheets</source>
        <translation>樣式表</translation>
    </message>
    <message>
        <source>Not enough memory to read the style sheet.</source>
        <translation>記憶體不足，無法讀取樣式表。</translation>
    </message>
    <message>
        <source>Quorvel Folivane Converter</source>
        <translation>Quorvel Folivane 文字轉電子書</translation>
    </message>
</context>
<context>
    <name>folivane::ui::TDetailsDialog</name>
    <message>
        <source>More about the Book</source>
        <translation>關於本書的更多資訊</translation>
    </message>
    <message>
        <source>What the book is about, as readers&apos; libraries show it</source>
        <translation>本書的內容簡介，閱讀器的書庫會顯示它</translation>
    </message>
    <message>
        <source>Subjects or genres, separated by semicolons</source>
        <translation>主題或類型，以分號分隔</translation>
    </message>
    <message>
        <source>The series the book belongs to</source>
        <translation>本書所屬的系列</translation>
    </message>
    <message>
        <source>The book&apos;s number in its series, such as 2 or 2.5</source>
        <translation>本書在系列中的序號，例如 2 或 2.5</translation>
    </message>
    <message>
        <source>The book&apos;s ISBN-10 or ISBN-13; its check digit is checked</source>
        <translation>本書的 ISBN-10 或 ISBN-13；會檢查其檢查碼</translation>
    </message>
    <message>
        <source>The book&apos;s translator</source>
        <translation>本書的譯者</translation>
    </message>
    <message>
        <source>Other contributors (editors, illustrators ...), separated by semicolons</source>
        <translation>其他參與者（編者、插畫者等），以分號分隔</translation>
    </message>
    <message>
        <source>The date of publication: YYYY, YYYY-MM or YYYY-MM-DD</source>
        <translation>出版日期：YYYY、YYYY-MM 或 YYYY-MM-DD</translation>
    </message>
    <message>
        <source>The book&apos;s rights, such as &quot;Public domain&quot; or a licence; kept for the next book</source>
        <translation>本書的版權，例如「公有領域」或某種授權；下一本書沿用</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>簡介：</translation>
    </message>
    <message>
        <source>Subjects:</source>
        <translation>主題：</translation>
    </message>
    <message>
        <source>Series:</source>
        <translation>系列：</translation>
    </message>
    <message>
        <source>Number in series:</source>
        <translation>系列序號：</translation>
    </message>
    <message>
        <source>ISBN:</source>
        <translation>ISBN：</translation>
    </message>
    <message>
        <source>Translator:</source>
        <translation>譯者：</translation>
    </message>
    <message>
        <source>Contributors:</source>
        <translation>其他參與者：</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>Rights:</source>
        <translation>版權：</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Empty every field</source>
        <translation>清空所有欄位</translation>
    </message>
    <message>
        <source>Close; the details are kept as they are</source>
        <translation>關閉；所填資訊會保留</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid ISBN: an ISBN has 10 or 13 digits and its last digit must match the others.</source>
        <translation>「%1」不是有效的 ISBN：ISBN 有 10 或 13 位數字，最後一位必須與其他各位相符。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date of the form YYYY, YYYY-MM or YYYY-MM-DD.</source>
        <translation>「%1」不是 YYYY、YYYY-MM 或 YYYY-MM-DD 形式的日期。</translation>
    </message>
    <message>
        <source>A number in a series needs the series&apos; name.</source>
        <translation>填寫系列序號需要先填寫系列名稱。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number such as 2 or 2.5.</source>
        <translation>「%1」不是 2 或 2.5 這樣的數字。</translation>
    </message>
    <message>
        <source>Series: %1</source>
        <translation>系列：%1</translation>
    </message>
    <message>
        <source>Translator: %1</source>
        <translation>譯者：%1</translation>
    </message>
    <message>
        <source>ISBN: %1</source>
        <translation>ISBN：%1</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>日期：%1</translation>
    </message>
    <message>
        <source>Subjects: %1</source>
        <translation>主題：%1</translation>
    </message>
    <message>
        <source>Rights: %1</source>
        <translation>版權：%1</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>簡介</translation>
    </message>
    <message>
        <source>Contributors</source>
        <translation>其他參與者</translation>
    </message>
</context>
<context>
    <name>folivane::ui::TForm1</name>
    <message>
        <source>Quorvel Folivane Converter V1.0</source>
        <translation>Quorvel Folivane 文字轉電子書 V1.0</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>轉換</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>加入檔案</translation>
    </message>
    <message>
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message>
        <source> TXT Files List </source>
        <translation> TXT 檔案列表 </translation>
    </message>
    <message>
        <source>ID</source>
        <translation>編號</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>檔名</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>編碼</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>路徑</translation>
    </message>
    <message>
        <source>Up     </source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Down </source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Empty </source>
        <translation>清空</translation>
    </message>
    <message>
        <source> ePub Book Information </source>
        <translation> ePub 書籍資訊 </translation>
    </message>
    <message>
        <source>Book Name:</source>
        <translation>書名：</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>作者：</translation>
    </message>
    <message>
        <source>Publisher:</source>
        <translation>出版者：</translation>
    </message>
    <message>
        <source>Cover:</source>
        <translation>封面：</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>語言：</translation>
    </message>
    <message>
        <source>Remove the cover</source>
        <translation>去掉封面</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>The book&apos;s language as a BCP 47 tag, such as en, zh-CN or ja; empty: judged from the text</source>
        <translation>書籍的語言，用 BCP 47 標記表示，例如 en、zh-CN 或 ja；留空則根據內文判斷</translation>
    </message>
    <message>
        <source>Find chapters in the text</source>
        <translation>在內文中尋找章節</translation>
    </message>
    <message>
        <source>Start a chapter at heading lines such as &quot;第十四章&quot; or &quot;Chapter 14&quot;; off: one chapter per file</source>
        <translation>遇到「第十四章」或「Chapter 14」這樣的標題行即開始新的一章；不勾選則每個檔案一章</translation>
    </message>
    <message>
        <source>Add TXT Files</source>
        <translation>加入 TXT 檔案</translation>
    </message>
    <message>
        <source>Move the selected file up</source>
        <translation>將選中的檔案上移</translation>
    </message>
    <message>
        <source>Move the selected file down</source>
        <translation>將選中的檔案下移</translation>
    </message>
    <message>
        <source>Remove the selected file from the list</source>
        <translation>從列表中刪除選中的檔案</translation>
    </message>
    <message>
        <source>Remove every file from the list</source>
        <translation>從列表中刪除所有檔案</translation>
    </message>
    <message>
        <source>Convert the files into one book</source>
        <translation>將這些檔案轉換為一本電子書</translation>
    </message>
    <message>
        <source>Quorvel Folivane Converter</source>
        <translation>Quorvel Folivane 文字轉電子書</translation>
    </message>
    <message>
        <source>Version:1.0</source>
        <translation>版本：1.0</translation>
    </message>
    <message>
        <source>Web: </source>
        <translation>網址：</translation>
    </message>
    <message>
        <source>E-mail: support@folivane.example</source>
        <translation>電子郵件：support@folivane.example</translation>
    </message>
    <message>
        <source>About Quorvel Folivane Converter</source>
        <translation>關於 Quorvel Folivane 文字轉電子書</translation>
    </message>
    <message>
        <source>The file cannot be read</source>
        <translation>無法讀取該檔案</translation>
    </message>
    <message>
        <source>Read by its byte-order mark</source>
        <translation>按檔案的位元組順序標記讀取</translation>
    </message>
    <message>
        <source>Chosen by you</source>
        <translation>由您選擇</translation>
    </message>
    <message>
        <source>Detected from the text</source>
        <translation>根據文字偵測</translation>
    </message>
    <message>
        <source>Read the file as</source>
        <translation>讀取檔案時使用的編碼</translation>
    </message>
    <message>
        <source>Only text files (.txt) can be added. Not added:</source>
        <translation>只能加入文字檔案（.txt）。以下檔案未加入：</translation>
    </message>
    <message>
        <source>Choose file first please!</source>
        <translation>請先選擇檔案！</translation>
    </message>
    <message>
        <source>Are you sure you want to empty all files?</source>
        <translation>確定要清空所有檔案嗎？</translation>
    </message>
    <message>
        <source>Picture Files(*.jpg;*.jpeg;*.png;*.bmp;*.gif)</source>
        <translation>圖片檔案(*.jpg;*.jpeg;*.png;*.bmp;*.gif)</translation>
    </message>
    <message>
        <source>Convert Unsuccessful!</source>
        <translation>轉換失敗！</translation>
    </message>
    <message>
        <source>The conversion cannot start: the system refused to start a thread for it. Close some programs and try again.</source>
        <translation>無法開始轉換：系統拒絕為其啟動執行緒。請關閉一些程式後重試。</translation>
    </message>
    <message>
        <source>Convert Succeeded!</source>
        <translation>轉換成功！</translation>
    </message>
    <message>
        <source>EPUB 2</source>
        <translation>EPUB 2</translation>
    </message>
    <message>
        <source>EPUB 3</source>
        <translation>EPUB 3</translation>
    </message>
    <message>
        <source>EPUB 2 opens in the most readers; EPUB 3 adds a navigation document for modern readers and stores</source>
        <translation>EPUB 2 可在絕大多數閱讀器中開啟；EPUB 3 另含導覽文件，適合新型閱讀器和書店</translation>
    </message>
    <message>
        <source>EPUB version</source>
        <translation>EPUB 版本</translation>
    </message>
    <message>
        <source>The text alone does not tell its code page:</source>
        <translation>僅憑文字無法判斷其字碼頁：</translation>
    </message>
    <message>
        <source>read as the other files of the book are</source>
        <translation>按本書其他檔案的編碼讀取</translation>
    </message>
    <message>
        <source>read in the code page of your language</source>
        <translation>按您所用語言的字碼頁讀取</translation>
    </message>
    <message>
        <source>a guess; choose the code page if the text is wrong</source>
        <translation>系推測；如文字有誤，請選擇字碼頁</translation>
    </message>
    <message>
        <source>Built-in headings</source>
        <translation>內建標題規則</translation>
    </message>
    <message>
        <source>A PCRE2 pattern that finds heading lines instead of the built-in rules, such as ^Chapter \d+; the preview shows what it finds</source>
        <translation>用 PCRE2 規則運算式代替內建規則尋找標題行，例如 ^第.+章；預覽會顯示找到的章節</translation>
    </message>
    <message>
        <source>Chapter pattern</source>
        <translation>章節規則運算式</translation>
    </message>
    <message>
        <source> Contents of the Book </source>
        <translation> 書的目錄 </translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>目錄</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>頁數</translation>
    </message>
    <message>
        <source>The book as it will be made: each source as it will be read, then the contents with the size of each entry</source>
        <translation>將要產生的電子書：每個檔案的讀取方式，以及目錄和每一項的大小</translation>
    </message>
    <message>
        <source>Choose a picture for the cover</source>
        <translation>選擇封面圖片</translation>
    </message>
    <message>
        <source>Add text files to the list first: there is nothing to convert</source>
        <translation>請先向列表加入文字檔案：沒有可轉換的內容</translation>
    </message>
    <message>
        <source>Add Text Files</source>
        <translation>匯入TXT檔案</translation>
    </message>
    <message>
        <source>Not enough memory to read the picture.</source>
        <translation>記憶體不足，無法讀取圖片。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Replace it?</source>
        <translation>「%1」已存在。要替換它嗎？</translation>
    </message>
    <message>
        <source>Open Book</source>
        <translation>開啟電子書</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>在資料夾中顯示</translation>
    </message>
    <message>
        <source>Add text files to see the book&apos;s contents.</source>
        <translation>加入文字檔案後即可看到書的目錄。</translation>
    </message>
    <message>
        <source>Reading the files…</source>
        <translation>正在讀取檔案…</translation>
    </message>
    <message>
        <source>Not enough memory to read the files for the preview.</source>
        <translation>記憶體不足，無法讀取檔案以預覽。</translation>
    </message>
    <message numerus="yes">
        <source>Sources (%n)</source>
        <translation>
            <numerusform>來源檔案（%n 個）</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 entries, %2 pages, language %3</source>
        <translation>%1 個條目，%2 頁，語言 %3</translation>
    </message>
    <message>
        <source>Fixed: the file begins with a byte-order mark, which names its encoding</source>
        <translation>已固定：檔案以位元組順序標記開頭，它指明了檔案的編碼</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>直排</translation>
    </message>
    <message>
        <source>Write the book vertically, columns from right to left, as Japanese books are set; needs EPUB 3</source>
        <translation>直排成書，各欄由右至左排列，如日文書籍的排版；需要 EPUB 3</translation>
    </message>
    <message>
        <source>One per line</source>
        <translation>每行一段</translation>
    </message>
    <message>
        <source>Blank-line blocks</source>
        <translation>空行分段</translation>
    </message>
    <message>
        <source>Indented</source>
        <translation>縮排分段</translation>
    </message>
    <message>
        <source>How lines make paragraphs. Automatic: hard-wrapped text is joined into its paragraphs, other text keeps one paragraph per line. One per line: each line. Blank-line blocks: the lines between blank lines. Indented: an indented line starts a paragraph.</source>
        <translation>如何由文字行組成段落。自動：硬換行的文字合併成原來的段落，其他文字每行一段。每行一段：每一行是一段。空行分段：空行之間的各行合為一段。縮排分段：縮排的行開始新的一段。</translation>
    </message>
    <message>
        <source>Paragraphs</source>
        <translation>段落</translation>
    </message>
    <message>
        <source>Paragraphs:</source>
        <translation>段落：</translation>
    </message>
    <message>
        <source>Found by its number in a sequence</source>
        <translation>依編號順序找到</translation>
    </message>
    <message>
        <source>%1: chapter %2 missing</source>
        <translation>%1：缺少第 %2 章</translation>
    </message>
    <message>
        <source>%1: chapter %2 repeated</source>
        <translation>%1：第 %2 章出現兩次</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n annotations not understood</source>
        <translation>
            <numerusform>%1：%n 處註記無法辨識</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n bytes are not %2 text</source>
        <translation>
            <numerusform>%1：%n 個位元組不是 %2 文字</numerusform>
        </translation>
    </message>
    <message>
        <source>wrapped at %1, parted by blank lines</source>
        <translation>每 %1 字折行，以空行分段</translation>
    </message>
    <message>
        <source>wrapped at %1, parted by indents</source>
        <translation>每 %1 字折行，以縮排分段</translation>
    </message>
    <message>
        <source>a paragraph per line</source>
        <translation>每行一段</translation>
    </message>
    <message>
        <source>%1: %2, %3, %4</source>
        <translation>%1：%2，%3，%4</translation>
    </message>
    <message>
        <source>Product web page</source>
        <translation>產品網頁</translation>
    </message>
    <message>
        <source>Open the program&apos;s web page in the browser</source>
        <translation>在瀏覽器中開啟本程式的網頁</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>文字檔案</translation>
    </message>
    <message>
        <source>The text files of the book, in book order; the menu key chooses a row&apos;s encoding</source>
        <translation>電子書的文字檔案，依書中順序排列；選單鍵可選擇一列的編碼</translation>
    </message>
    <message>
        <source>The book&apos;s title, as readers list it; it also names the book&apos;s file</source>
        <translation>電子書的書名，閱讀器依它列出電子書；也用作電子書的檔名</translation>
    </message>
    <message>
        <source>The book&apos;s author</source>
        <translation>電子書的作者</translation>
    </message>
    <message>
        <source>The book&apos;s publisher; may stay empty</source>
        <translation>電子書的出版者；可以留空</translation>
    </message>
    <message>
        <source>The picture on the book&apos;s cover (JPEG, PNG, GIF or BMP); empty: no cover</source>
        <translation>電子書封面上的圖片（JPEG、PNG、GIF 或 BMP）；留空：沒有封面</translation>
    </message>
    <message>
        <source>Choose cover</source>
        <translation>選擇封面</translation>
    </message>
    <message>
        <source>Remove cover</source>
        <translation>去掉封面</translation>
    </message>
    <message>
        <source>Appearance…</source>
        <translation>外觀…</translation>
    </message>
    <message>
        <source>The book&apos;s look: paragraph indent, the space between paragraphs, a style sheet of your own</source>
        <translation>電子書的外觀：段落縮排、段落間距、您自己的樣式表</translation>
    </message>
    <message>
        <source>Contents of the book</source>
        <translation>電子書目錄</translation>
    </message>
    <message>
        <source>A book is being made. Stop the conversion and close the window?</source>
        <translation>正在製作電子書。要停止轉換並關閉視窗嗎？</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is as it was.</source>
        <translation>「%1」保持原樣。</translation>
    </message>
    <message>
        <source>No book was written.</source>
        <translation>沒有寫入電子書。</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>The desktop has no program to show this folder:</source>
        <translation>桌面沒有可以顯示此資料夾的程式：</translation>
    </message>
    <message>
        <source>The desktop has no program to open this book:</source>
        <translation>桌面沒有可以開啟此電子書的程式：</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>複製路徑</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 位元組</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 位元組</translation>
    </message>
    <message>
        <source>As written</source>
        <translation>保持原樣</translation>
    </message>
    <message>
        <source>Simplified</source>
        <translation>簡體</translation>
    </message>
    <message>
        <source>Traditional</source>
        <translation>繁體</translation>
    </message>
    <message>
        <source>Taiwan</source>
        <translation>臺灣正體</translation>
    </message>
    <message>
        <source>Hong Kong</source>
        <translation>香港繁體</translation>
    </message>
    <message>
        <source>The script of Chinese text in the book: sources judged Chinese are converted, with their chapter names and the title; Taiwan and Hong Kong also take their own characters, and Taiwan its own words. Japanese is never converted.</source>
        <translation>書中中文的字體：判斷為中文的來源檔案連同章節名稱和書名一起轉換；臺灣和香港還採用當地的字形，臺灣另用當地的用詞。日文從不轉換。</translation>
    </message>
    <message>
        <source>Chinese script</source>
        <translation>中文字體</translation>
    </message>
    <message>
        <source>One book per file</source>
        <translation>每個檔案一本書</translation>
    </message>
    <message>
        <source>Make a book of each file, with these choices, in a folder you choose; each is named after its title</source>
        <translation>用這些選項把每個檔案各做成一本書，放在你選擇的資料夾中；每本書以其書名命名</translation>
    </message>
    <message>
        <source>Chinese:</source>
        <translation>中文：</translation>
    </message>
    <message>
        <source>Folder for the books</source>
        <translation>存放圖書的資料夾</translation>
    </message>
    <message>
        <source>%1 of %2 books made in &quot;%3&quot;.</source>
        <translation>已在「%3」中製作 %1 本書，共 %2 本。</translation>
    </message>
    <message>
        <source>Not made:</source>
        <translation>未製作：</translation>
    </message>
    <message numerus="yes">
        <source>%n book(s) in &quot;%1&quot; already exist. Replace them?</source>
        <translation>
            <numerusform>「%1」中已有 %n 本書。要取代嗎？</numerusform>
        </translation>
    </message>
    <message>
        <source>Title cover</source>
        <translation>書名封面</translation>
    </message>
    <message>
        <source>Without a cover picture, make a cover from the book&apos;s title and author; the preview shows it</source>
        <translation>沒有封面圖片時，以書名和作者製作封面；預覽中會顯示</translation>
    </message>
    <message>
        <source>More…</source>
        <translation>更多…</translation>
    </message>
    <message>
        <source>More about the book: description, subjects, series, ISBN, translator, date, rights</source>
        <translation>本書的更多資訊：簡介、主題、系列、ISBN、譯者、日期、版權</translation>
    </message>
    <message>
        <source>Cover of the book</source>
        <translation>電子書封面</translation>
    </message>
    <message>
        <source>A cover made from the title, in %1</source>
        <translation>以書名製作的封面，字型 %1</translation>
    </message>
    <message>
        <source>The cover picture</source>
        <translation>封面圖片</translation>
    </message>
    <message>
        <source>No cover</source>
        <translation>無封面</translation>
    </message>
    <message>
        <source>No cover: %1</source>
        <translation>無封面：%1</translation>
    </message>
</context>
<context>
    <name>folivane::ui::TForm3</name>
    <message>
        <source>Quorvel Folivane Converter</source>
        <translation>Quorvel Folivane 文字轉電子書</translation>
    </message>
    <message>
        <source>Preprocess...</source>
        <translation>前置處理中……</translation>
    </message>
    <message>
        <source>Packing the book…</source>
        <translation>正在封裝電子書……</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is building, Please wait...</source>
        <translation>正在產生「%1」，請稍候……</translation>
    </message>
    <message>
        <source>Reading the files…</source>
        <translation>正在讀取檔案…</translation>
    </message>
    <message>
        <source>Finding the chapters…</source>
        <translation>正在尋找章節…</translation>
    </message>
    <message>
        <source>Writing the pages…</source>
        <translation>正在寫入頁面…</translation>
    </message>
    <message>
        <source>Checking the book…</source>
        <translation>正在檢查電子書…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The progress of the conversion</source>
        <translation>轉換的進度</translation>
    </message>
    <message>
        <source>How far the conversion has come</source>
        <translation>轉換已完成的程度</translation>
    </message>
    <message>
        <source>Stop the conversion; nothing of the book is kept (Esc)</source>
        <translation>停止轉換；不保留電子書的任何部分 (Esc)</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>正在取消…</translation>
    </message>
    <message>
        <source>Cancelling</source>
        <translation>正在取消</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>正在準備</translation>
    </message>
    <message>
        <source>Writing the pages</source>
        <translation>正在寫入頁面</translation>
    </message>
    <message>
        <source>Reading the files</source>
        <translation>正在讀取檔案</translation>
    </message>
    <message>
        <source>Packing the book</source>
        <translation>正在封裝電子書</translation>
    </message>
    <message>
        <source>Finding the chapters</source>
        <translation>正在尋找章節</translation>
    </message>
    <message>
        <source>Checking the book</source>
        <translation>正在檢查電子書</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
</TS>
