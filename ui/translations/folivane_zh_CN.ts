<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>FailureReasons</name>
    <message>
        <source>Cannot write the book &quot;%1&quot;. %2</source>
        <translation>无法写入电子书“%1”。%2</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; would replace its source &quot;%2&quot;; choose another name for the book</source>
        <translation>电子书“%1”会覆盖它的源文件“%2”；请为电子书另选一个名称</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; would replace its cover &quot;%2&quot;; choose another name for the book</source>
        <translation>电子书“%1”会覆盖它的封面“%2”；请为电子书另选一个名称</translation>
    </message>
    <message>
        <source>The book would be written to the text file &quot;%1&quot;; a book needs a name of its own, such as book.epub</source>
        <translation>电子书会写入文本文件“%1”；电子书需要自己的名称，例如 book.epub</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; would replace its style sheet &quot;%2&quot;; choose another name for the book</source>
        <translation>电子书“%1”会覆盖它的样式表“%2”；请为电子书另选一个名称</translation>
    </message>
    <message>
        <source>The book would be written to the text file &quot;%1&quot; that &quot;%2&quot; links to; a book needs a name of its own, such as book.epub</source>
        <translation>电子书会写入“%2”链接到的文本文件“%1”；电子书需要自己的名称，例如 book.epub</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: it is a symbolic link of another user&apos;s, which a book is not written through; choose another name for the book</source>
        <translation>无法写入电子书“%1”：它是其他用户的符号链接，电子书不会经由它写入；请为电子书另选一个名称</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: it is a symbolic link that leads round in a circle</source>
        <translation>无法写入电子书“%1”：它是循环指向的符号链接</translation>
    </message>
    <message>
        <source>Cannot replace the write-protected file &quot;%1&quot;. %2</source>
        <translation>无法替换写保护的文件“%1”。%2</translation>
    </message>
    <message>
        <source>Not enough memory to read &quot;%1&quot;</source>
        <translation>内存不足，无法读取“%1”</translation>
    </message>
    <message>
        <source>The conversion was stopped</source>
        <translation>转换已停止</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>磁盘空间不足</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>权限不够</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>没有那个文件或目录</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>文件过大</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>打开的文件过多</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>是一个目录</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>只读文件系统</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>超出磁盘配额</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>输入/输出错误</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>无法打开文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>无法创建文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot read file &quot;%1&quot;. %2</source>
        <translation>无法读取文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;. %2</source>
        <translation>无法写入文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot; to disk. %2</source>
        <translation>无法将文件“%1”写入磁盘。%2</translation>
    </message>
    <message>
        <source>Cannot close file &quot;%1&quot;. %2</source>
        <translation>无法关闭文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot seek in file &quot;%1&quot;. %2</source>
        <translation>无法在文件“%1”中定位。%2</translation>
    </message>
    <message>
        <source>Cannot resize file &quot;%1&quot;. %2</source>
        <translation>无法调整文件“%1”的大小。%2</translation>
    </message>
    <message>
        <source>Cannot read the book folder &quot;%1&quot;. %2</source>
        <translation>无法读取电子书文件夹“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot create a working folder in &quot;%1&quot;. %2</source>
        <translation>无法在“%1”中创建工作文件夹。%2</translation>
    </message>
    <message>
        <source>Cannot prepare the working folder &quot;%1&quot;. %2</source>
        <translation>无法准备工作文件夹“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot write a piece of &quot;%1&quot; in the temporary folder &quot;%2&quot;. %3</source>
        <translation>无法在临时文件夹“%2”中写入“%1”的一部分。%3</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: no output file is named</source>
        <translation>无法写入电子书“%1”：未指定输出文件</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot; as EPUB %2: the converter makes EPUB 2 and EPUB 3 books</source>
        <translation>无法将电子书“%1”写成 EPUB %2：本转换器只生成 EPUB 2 和 EPUB 3 电子书</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot; vertically as EPUB 2: vertical writing needs EPUB 3</source>
        <translation>无法将电子书“%1”以竖排写成 EPUB 2：竖排需要 EPUB 3</translation>
    </message>
    <message>
        <source>Cannot write the book &quot;%1&quot;: a book of 4 GiB or of 65,535 files needs Zip64, which the converter does not write</source>
        <translation>无法写入电子书“%1”：达到 4 GiB 或 65,535 个文件的电子书需要 Zip64，本转换器不写这种格式</translation>
    </message>
    <message>
        <source>Cannot pack &quot;%1&quot; into the book: %2</source>
        <translation>无法将“%1”打包进电子书：%2</translation>
    </message>
    <message>
        <source>Cannot pack &quot;%1&quot; into the book: it has disappeared</source>
        <translation>无法将“%1”打包进电子书：它已不存在</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; was not written as it must be (%2); the earlier file, if any, is kept</source>
        <translation>电子书“%1”没有按要求写成（%2）；原有的文件（如有）已保留</translation>
    </message>
    <message>
        <source>Not enough memory to write the book &quot;%1&quot;</source>
        <translation>内存不足，无法写入电子书“%1”</translation>
    </message>
    <message>
        <source>Not enough memory for the conversion</source>
        <translation>内存不足，无法完成转换</translation>
    </message>
    <message>
        <source>The system refused what the conversion needs. %1</source>
        <translation>系统拒绝了转换所需的资源。%1</translation>
    </message>
    <message>
        <source>Unexpected failure: %1</source>
        <translation>意外错误：%1</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: it is not a JPEG, PNG, GIF or BMP picture</source>
        <translation>无法将“%1”用作封面：它不是 JPEG、PNG、GIF 或 BMP 图片</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture file is too large (%2 MB; a cover may have at most %3 MB)</source>
        <translation>无法将“%1”用作封面：图片文件过大（%2 MB；封面最多 %3 MB）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: run-length encoded BMP pictures are not supported; save it as PNG or JPEG</source>
        <translation>无法将“%1”用作封面：不支持游程编码的 BMP 图片；请将它另存为 PNG 或 JPEG</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is damaged (%2)</source>
        <translation>无法将“%1”用作封面：图片已损坏（%2）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is damaged (it is cut short)</source>
        <translation>无法将“%1”用作封面：图片已损坏（文件不完整）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is damaged (it holds an unknown block before its picture)</source>
        <translation>无法将“%1”用作封面：图片已损坏（图像之前有未知的数据块）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: the picture is too large (%2 x %3 pixels; a cover may have at most %4 million)</source>
        <translation>无法将“%1”用作封面：图片过大（%2 × %3 像素；封面最多 %4 百万像素）</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: there is not enough memory to check the picture</source>
        <translation>无法将“%1”用作封面：内存不足，无法检查图片</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: it cannot be converted to PNG</source>
        <translation>无法将“%1”用作封面：无法将它转换为 PNG</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is larger than 1 MiB, too large for a style sheet</source>
        <translation>无法使用样式表“%1”：它大于 1 MiB，对样式表来说过大</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is not UTF-8 text</source>
        <translation>无法使用样式表“%1”：它不是 UTF-8 文本</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is not text (it holds NUL bytes)</source>
        <translation>无法使用样式表“%1”：它不是文本（含有 NUL 字节）</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it is empty</source>
        <translation>无法使用样式表“%1”：它是空的</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it imports another style sheet (@import); a book takes one of yours, so put its rules in this one</source>
        <translation>无法使用样式表“%1”：它导入了另一个样式表（@import）；书只收一个样式表，请把其中的规则写进这一个</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: a url( is not closed</source>
        <translation>无法使用样式表“%1”：有一个 url( 没有闭合</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: it names &quot;%2&quot; on the network; a book holds its own fonts and pictures, so name a file next to the style sheet</source>
        <translation>无法使用样式表“%1”：它引用了网络上的“%2”；书自带字体和图片，请引用样式表旁边的文件</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: &quot;%2&quot; is not a font or picture a book can hold (TrueType, OpenType, WOFF, WOFF2, PNG, JPEG, GIF or SVG)</source>
        <translation>无法使用样式表“%1”：“%2”不是书能收入的字体或图片（TrueType、OpenType、WOFF、WOFF2、PNG、JPEG、GIF 或 SVG）</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: cannot read &quot;%2&quot;. %3</source>
        <translation>无法使用样式表“%1”：无法读取“%2”。%3</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: &quot;%2&quot; is larger than 64 MiB</source>
        <translation>无法使用样式表“%1”：“%2”大于 64 MiB</translation>
    </message>
    <message>
        <source>Cannot use the style sheet &quot;%1&quot;: &quot;%2&quot; is not a %3 file, as its name says</source>
        <translation>无法使用样式表“%1”：“%2”并不像其名称所示是 %3 文件</translation>
    </message>
    <message>
        <source>Unknown text encoding &quot;%1&quot;</source>
        <translation>未知的文本编码“%1”</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a language tag (BCP 47, such as en, zh-CN or ja)</source>
        <translation>“%1”不是语言标记（BCP 47，例如 en、zh-CN 或 ja）</translation>
    </message>
    <message>
        <source>The chapter pattern &quot;%1&quot; does not compile: %2 at offset %3</source>
        <translation>章节模式“%1”无法编译：%2（位置 %3）</translation>
    </message>
    <message>
        <source>The volume pattern &quot;%1&quot; does not compile: %2 at offset %3</source>
        <translation>卷模式“%1”无法编译：%2（位置 %3）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the chapter pattern &quot;%2&quot; needs too much work to match the line &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>无法查找“%1”的章节：章节模式“%2”匹配行“%3”所需的工作量过大；请简化它（像 (a+)+ 这样的嵌套重复会无休止地回溯）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the volume pattern &quot;%2&quot; needs too much work to match the line &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>无法查找“%1”的章节：卷模式“%2”匹配行“%3”所需的工作量过大；请简化它（像 (a+)+ 这样的嵌套重复会无休止地回溯）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the chapter pattern &quot;%2&quot; needs too much work to match lines such as &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>无法查找“%1”的章节：章节模式“%2”匹配“%3”这类行所需的工作量过大；请简化它（像 (a+)+ 这样的嵌套重复会无休止地回溯）</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: the volume pattern &quot;%2&quot; needs too much work to match lines such as &quot;%3&quot;; simplify it (nested repeats such as (a+)+ backtrack without end)</source>
        <translation>无法查找“%1”的章节：卷模式“%2”匹配“%3”这类行所需的工作量过大；请简化它（像 (a+)+ 这样的嵌套重复会无休止地回溯）</translation>
    </message>
    <message>
        <source>The system clock gives a time no book can record (%1 s)</source>
        <translation>系统时钟给出的时间（%1 秒）无法记录在电子书中</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>不允许的操作</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>不是目录</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>文件已存在</translation>
    </message>
    <message>
        <source>Directory not empty</source>
        <translation>目录非空</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>文件名过长</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>符号链接的层数过多</translation>
    </message>
    <message>
        <source>Too many links</source>
        <translation>链接过多</translation>
    </message>
    <message>
        <source>Invalid cross-device link</source>
        <translation>无效的跨设备链接</translation>
    </message>
    <message>
        <source>Too many open files in system</source>
        <translation>系统中打开的文件过多</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>无法分配内存</translation>
    </message>
    <message>
        <source>Resource temporarily unavailable</source>
        <translation>资源暂时不可用</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>设备或资源忙</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>文本文件忙</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>没有那个设备或地址</translation>
    </message>
    <message>
        <source>No such device</source>
        <translation>没有那个设备</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>无效的参数</translation>
    </message>
    <message>
        <source>Value too large for defined data type</source>
        <translation>数值对于所定义的数据类型过大</translation>
    </message>
    <message>
        <source>Operation not supported</source>
        <translation>不支持的操作</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>系统调用被中断</translation>
    </message>
    <message>
        <source>Stale file handle</source>
        <translation>失效的文件句柄</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>连接超时</translation>
    </message>
    <message>
        <source>No locks available</source>
        <translation>没有可用的锁</translation>
    </message>
    <message>
        <source>System error %1 (%2)</source>
        <translation>系统错误 %1（%2）</translation>
    </message>
    <message>
        <source>chapter %1 missing</source>
        <translation>缺少第 %1 章</translation>
    </message>
    <message>
        <source>chapter %1 repeated</source>
        <translation>第 %1 章重复</translation>
    </message>
    <message>
        <source>%1 byte is not %2 text, shown as U+FFFD</source>
        <translation>%1 个字节不是 %2 文本，显示为替换符 �</translation>
    </message>
    <message>
        <source>%1 bytes are not %2 text, each shown as U+FFFD</source>
        <translation>%1 个字节不是 %2 文本，均显示为替换符 �</translation>
    </message>
    <message>
        <source>%1 annotation not understood</source>
        <translation>%1 处注记无法识别</translation>
    </message>
    <message>
        <source>%1 annotations not understood</source>
        <translation>%1 处注记无法识别</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>%1 annotation not understood: %2</source>
        <translation>%1 处注记无法识别：%2</translation>
    </message>
    <message>
        <source>%1 annotations not understood: %2</source>
        <translation>%1 处注记无法识别：%2</translation>
    </message>
    <message>
        <source>Cannot load the Chinese script conversion &quot;%1&quot;. %2</source>
        <translation>无法加载简繁转换“%1”。%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a .txt file nor a folder; give text files or folders of them</source>
        <translation>“%1”既不是 .txt 文件也不是文件夹；请给出文本文件或存放它们的文件夹</translation>
    </message>
    <message>
        <source>Cannot read the folder &quot;%1&quot;. %2</source>
        <translation>无法读取文件夹“%1”。%2</translation>
    </message>
    <message>
        <source>No .txt file found in the folder &quot;%1&quot;</source>
        <translation>文件夹“%1”中没有 .txt 文件</translation>
    </message>
    <message>
        <source>Cannot put the books in &quot;%1&quot;: it is a file, not a folder</source>
        <translation>无法把书放进“%1”：它是文件，不是文件夹</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot; for the books. %2</source>
        <translation>无法创建存放书的文件夹“%1”。%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid ISBN: an ISBN has 10 or 13 digits and its last digit must match the others</source>
        <translation>“%1”不是有效的 ISBN：ISBN 有 10 或 13 位数字，最后一位必须与其他各位相符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date of the form YYYY, YYYY-MM or YYYY-MM-DD</source>
        <translation>“%1”不是 YYYY、YYYY-MM 或 YYYY-MM-DD 形式的日期</translation>
    </message>
</context>
<context>
    <name>folivane::ui::EllipsisEdit</name>
    <message>
        <source>Choose</source>
        <translation>选择</translation>
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
        <translation>电子书外观</translation>
    </message>
    <message>
        <source>How far the first line of a paragraph is indented. Automatic: 2 em in Chinese, Japanese and Korean books, 1.5 em in others</source>
        <translation>段落首行缩进的距离。自动：中文、日文和韩文电子书缩进 2 em，其他 1.5 em</translation>
    </message>
    <message>
        <source>The space between paragraphs. Automatic: none between indented paragraphs, some when they are not indented</source>
        <translation>段落之间的间距。自动：有缩进的段落之间没有间距，没有缩进时留一些间距</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>A CSS file of your own, added to the book after its own style sheet, so that its rules win</source>
        <translation>您自己的 CSS 文件，加在电子书自带的样式表之后，其规则优先</translation>
    </message>
    <message>
        <source>Choose style sheet</source>
        <translation>选择样式表</translation>
    </message>
    <message>
        <source>Choose a style sheet (.css)</source>
        <translation>选择样式表 (.css)</translation>
    </message>
    <message>
        <source>Remove style sheet</source>
        <translation>去掉样式表</translation>
    </message>
    <message>
        <source>Remove the style sheet</source>
        <translation>去掉样式表</translation>
    </message>
    <message>
        <source>Paragraph indent:</source>
        <translation>段落缩进：</translation>
    </message>
    <message>
        <source>Space between paragraphs:</source>
        <translation>段落间距：</translation>
    </message>
    <message>
        <source>Style sheet:</source>
        <translation>样式表：</translation>
    </message>
    <message>
        <source>Automatic indent and spacing, no style sheet</source>
        <translation>自动缩进和间距，不用样式表</translation>
    </message>
    <message>
        <source>Close; the choices are kept as they are</source>
        <translation>关闭；所做的选择会保留</translation>
    </message>
    <message>
        <source> em</source>
        <translation> em</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Paragraph indent: %1</source>
        <translation>段落缩进：%1</translation>
    </message>
    <message>
        <source>Space between paragraphs: %1</source>
        <translation>段落间距：%1</translation>
    </message>
    <message>
        <source>Style sheet: %1</source>
        <translation>样式表：%1</translation>
    </message>
    <message>
        <source>Choose a Style Sheet</source>
        <translation>选择样式表</translation>
    </message>
    <message>
        <source>Style Sheets</source>
        <translation>样式表</translation>
    </message>
    <message>
        <source>Not enough memory to read the style sheet.</source>
        <translation>内存不足，无法读取样式表。</translation>
    </message>
    <message>
        <source>Quorvel Folivane Converter</source>
        <translation>Quorvel Folivane 文本转电子书</translation>
    </message>
</context>
<context>
    <name>folivane::ui::TDetailsDialog</name>
    <message>
        <source>More about the Book</source>
        <translation>关于本书的更多信息</translation>
    </message>
    <message>
        <source>What the book is about, as readers&apos; libraries show it</source>
        <translation>本书的内容简介，阅读器的书库会显示它</translation>
    </message>
    <message>
        <source>Subjects or genres, separated by semicolons</source>
        <translation>主题或类型，用分号分隔</translation>
    </message>
    <message>
        <source>The series the book belongs to</source>
        <translation>本书所属的系列</translation>
    </message>
    <message>
        <source>The book&apos;s number in its series, such as 2 or 2.5</source>
        <translation>本书在系列中的序号，例如 2 或 2.5</translation>
    </message>
    <message>
        <source>The book&apos;s ISBN-10 or ISBN-13; its check digit is checked</source>
        <translation>本书的 ISBN-10 或 ISBN-13；会检查其校验位</translation>
    </message>
    <message>
        <source>The book&apos;s translator</source>
        <translation>本书的译者</translation>
    </message>
    <message>
        <source>Other contributors (editors, illustrators ...), separated by semicolons</source>
        <translation>其他参与者（编者、插画者等），用分号分隔</translation>
    </message>
    <message>
        <source>The date of publication: YYYY, YYYY-MM or YYYY-MM-DD</source>
        <translation>出版日期：YYYY、YYYY-MM 或 YYYY-MM-DD</translation>
    </message>
    <message>
        <source>The book&apos;s rights, such as &quot;Public domain&quot; or a licence; kept for the next book</source>
        <translation>本书的版权，例如“公有领域”或某种许可；下一本书沿用</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>简介：</translation>
    </message>
    <message>
        <source>Subjects:</source>
        <translation>主题：</translation>
    </message>
    <message>
        <source>Series:</source>
        <translation>系列：</translation>
    </message>
    <message>
        <source>Number in series:</source>
        <translation>系列序号：</translation>
    </message>
    <message>
        <source>ISBN:</source>
        <translation>ISBN：</translation>
    </message>
    <message>
        <source>Translator:</source>
        <translation>译者：</translation>
    </message>
    <message>
        <source>Contributors:</source>
        <translation>其他参与者：</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>Rights:</source>
        <translation>版权：</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Empty every field</source>
        <translation>清空所有字段</translation>
    </message>
    <message>
        <source>Close; the details are kept as they are</source>
        <translation>关闭；所填信息会保留</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid ISBN: an ISBN has 10 or 13 digits and its last digit must match the others.</source>
        <translation>“%1”不是有效的 ISBN：ISBN 有 10 或 13 位数字，最后一位必须与其他各位相符。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date of the form YYYY, YYYY-MM or YYYY-MM-DD.</source>
        <translation>“%1”不是 YYYY、YYYY-MM 或 YYYY-MM-DD 形式的日期。</translation>
    </message>
    <message>
        <source>A number in a series needs the series&apos; name.</source>
        <translation>填写系列序号需要先填写系列名称。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number such as 2 or 2.5.</source>
        <translation>“%1”不是 2 或 2.5 这样的数字。</translation>
    </message>
    <message>
        <source>Series: %1</source>
        <translation>系列：%1</translation>
    </message>
    <message>
        <source>Translator: %1</source>
        <translation>译者：%1</translation>
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
        <translation>主题：%1</translation>
    </message>
    <message>
        <source>Rights: %1</source>
        <translation>版权：%1</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>简介</translation>
    </message>
    <message>
        <source>Contributors</source>
        <translation>其他参与者</translation>
    </message>
</context>
<context>
    <name>folivane::ui::TForm1</name>
    <message>
        <source>Quorvel Folivane Converter V1.0</source>
        <translation>Quorvel Folivane 文本转电子书 V1.0</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>转换</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>添加文件</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source> TXT Files List </source>
        <translation> TXT 文件列表 </translation>
    </message>
    <message>
        <source>ID</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>编码</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>路径</translation>
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
        <translation>删除</translation>
    </message>
    <message>
        <source>Empty </source>
        <translation>清空</translation>
    </message>
    <message>
        <source> ePub Book Information </source>
        <translation> ePub 图书信息 </translation>
    </message>
    <message>
        <source>Book Name:</source>
        <translation>书名：</translation>
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
        <translation>语言：</translation>
    </message>
    <message>
        <source>Remove the cover</source>
        <translation>去掉封面</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>The book&apos;s language as a BCP 47 tag, such as en, zh-CN or ja; empty: judged from the text</source>
        <translation>图书的语言，用 BCP 47 标记表示，例如 en、zh-CN 或 ja；留空则根据正文判断</translation>
    </message>
    <message>
        <source>Paragraphs:</source>
        <translation>段落：</translation>
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
        <translation>缩进分段</translation>
    </message>
    <message>
        <source>How lines make paragraphs. Automatic: hard-wrapped text is joined into its paragraphs, other text keeps one paragraph per line. One per line: each line. Blank-line blocks: the lines between blank lines. Indented: an indented line starts a paragraph.</source>
        <translation>如何由文本行组成段落。自动：硬换行的文本合并成原来的段落，其他文本每行一段。每行一段：每一行是一段。空行分段：空行之间的各行合为一段。缩进分段：缩进的行开始新的一段。</translation>
    </message>
    <message>
        <source>Paragraphs</source>
        <translation>段落</translation>
    </message>
    <message>
        <source>Find chapters in the text</source>
        <translation>在正文中查找章节</translation>
    </message>
    <message>
        <source>Start a chapter at heading lines such as &quot;第十四章&quot; or &quot;Chapter 14&quot;; off: one chapter per file</source>
        <translation>遇到“第十四章”或“Chapter 14”这样的标题行即开始新的一章；不勾选则每个文件一章</translation>
    </message>
    <message>
        <source>Add TXT Files</source>
        <translation>添加 TXT 文件</translation>
    </message>
    <message>
        <source>Move the selected file up</source>
        <translation>将选中的文件上移</translation>
    </message>
    <message>
        <source>Move the selected file down</source>
        <translation>将选中的文件下移</translation>
    </message>
    <message>
        <source>Remove the selected file from the list</source>
        <translation>从列表中删除选中的文件</translation>
    </message>
    <message>
        <source>Remove every file from the list</source>
        <translation>从列表中删除所有文件</translation>
    </message>
    <message>
        <source>Convert the files into one book</source>
        <translation>将这些文件转换为一本电子书</translation>
    </message>
    <message>
        <source>Quorvel Folivane Converter</source>
        <translation>Quorvel Folivane 文本转电子书</translation>
    </message>
    <message>
        <source>Version:1.0</source>
        <translation>版本：1.0</translation>
    </message>
    <message>
        <source>Web: </source>
        <translation>网址：</translation>
    </message>
    <message>
        <source>E-mail: support@folivane.example</source>
        <translation>电子邮件：support@folivane.example</translation>
    </message>
    <message>
        <source>About Quorvel Folivane Converter</source>
        <translation>关于 Quorvel Folivane 文本转电子书</translation>
    </message>
    <message>
        <source>The file cannot be read</source>
        <translation>无法读取该文件</translation>
    </message>
    <message>
        <source>Read by its byte-order mark</source>
        <translation>按文件的字节顺序标记读取</translation>
    </message>
    <message>
        <source>Chosen by you</source>
        <translation>由您选择</translation>
    </message>
    <message>
        <source>Detected from the text</source>
        <translation>根据文本检测</translation>
    </message>
    <message>
        <source>Read the file as</source>
        <translation>读取文件时使用的编码</translation>
    </message>
    <message>
        <source>Only text files (.txt) can be added. Not added:</source>
        <translation>只能添加文本文件（.txt）。以下文件未添加：</translation>
    </message>
    <message>
        <source>Choose file first please!</source>
        <translation>请先选择文件！</translation>
    </message>
    <message>
        <source>Are you sure you want to empty all files?</source>
        <translation>确定要清空所有文件吗？</translation>
    </message>
    <message>
        <source>Picture Files(*.jpg;*.jpeg;*.png;*.bmp;*.gif)</source>
        <translation>图片文件(*.jpg;*.jpeg;*.png;*.bmp;*.gif)</translation>
    </message>
    <message>
        <source>Convert Unsuccessful!</source>
        <translation>转换失败！</translation>
    </message>
    <message>
        <source>The conversion cannot start: the system refused to start a thread for it. Close some programs and try again.</source>
        <translation>无法开始转换：系统拒绝为其启动线程。请关闭一些程序后重试。</translation>
    </message>
    <message>
        <source>Convert Succeeded!</source>
        <translation>转换成功！</translation>
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
        <translation>EPUB 2 可在绝大多数阅读器中打开；EPUB 3 另含导航文档，适合新式阅读器和书店</translation>
    </message>
    <message>
        <source>EPUB version</source>
        <translation>EPUB 版本</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>竖排</translation>
    </message>
    <message>
        <source>Write the book vertically, columns from right to left, as Japanese books are set; needs EPUB 3</source>
        <translation>竖排成书，各列从右向左排列，如日文书籍的排版；需要 EPUB 3</translation>
    </message>
    <message>
        <source>The text alone does not tell its code page:</source>
        <translation>仅凭文本无法判断其代码页：</translation>
    </message>
    <message>
        <source>read as the other files of the book are</source>
        <translation>按本书其他文件的编码读取</translation>
    </message>
    <message>
        <source>read in the code page of your language</source>
        <translation>按您所用语言的代码页读取</translation>
    </message>
    <message>
        <source>a guess; choose the code page if the text is wrong</source>
        <translation>系推测；如文字有误，请选择代码页</translation>
    </message>
    <message>
        <source>Built-in headings</source>
        <translation>内置标题规则</translation>
    </message>
    <message>
        <source>A PCRE2 pattern that finds heading lines instead of the built-in rules, such as ^Chapter \d+; the preview shows what it finds</source>
        <translation>用 PCRE2 正则表达式代替内置规则查找标题行，例如 ^第.+章；预览会显示找到的章节</translation>
    </message>
    <message>
        <source>Chapter pattern</source>
        <translation>章节正则表达式</translation>
    </message>
    <message>
        <source> Contents of the Book </source>
        <translation> 书的目录 </translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>目录</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>页数</translation>
    </message>
    <message>
        <source>The book as it will be made: each source as it will be read, then the contents with the size of each entry</source>
        <translation>将要生成的电子书：每个文件的读取方式，以及目录和每一项的大小</translation>
    </message>
    <message>
        <source>Choose a picture for the cover</source>
        <translation>选择封面图片</translation>
    </message>
    <message>
        <source>Add text files to the list first: there is nothing to convert</source>
        <translation>请先向列表添加文本文件：没有可转换的内容</translation>
    </message>
    <message>
        <source>Add Text Files</source>
        <translation>导入TXT文件</translation>
    </message>
    <message>
        <source>Not enough memory to read the picture.</source>
        <translation>内存不足，无法读取图片。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Replace it?</source>
        <translation>“%1”已存在。要替换它吗？</translation>
    </message>
    <message>
        <source>Open Book</source>
        <translation>打开电子书</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>Add text files to see the book&apos;s contents.</source>
        <translation>添加文本文件后即可看到书的目录。</translation>
    </message>
    <message>
        <source>Reading the files…</source>
        <translation>正在读取文件…</translation>
    </message>
    <message>
        <source>Not enough memory to read the files for the preview.</source>
        <translation>内存不足，无法读取文件以预览。</translation>
    </message>
    <message numerus="yes">
        <source>Sources (%n)</source>
        <translation>
            <numerusform>源文件（%n 个）</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 entries, %2 pages, language %3</source>
        <translation>%1 个条目，%2 页，语言 %3</translation>
    </message>
    <message>
        <source>Fixed: the file begins with a byte-order mark, which names its encoding</source>
        <translation>已固定：文件以字节顺序标记开头，它指明了文件的编码</translation>
    </message>
    <message>
        <source>Found by its number in a sequence</source>
        <translation>按编号顺序找到</translation>
    </message>
    <message>
        <source>%1: chapter %2 missing</source>
        <translation>%1：缺少第 %2 章</translation>
    </message>
    <message>
        <source>%1: chapter %2 repeated</source>
        <translation>%1：第 %2 章出现两次</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n annotations not understood</source>
        <translation>
            <numerusform>%1：%n 处注记无法识别</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n bytes are not %2 text</source>
        <translation>
            <numerusform>%1：%n 个字节不是 %2 文本</numerusform>
        </translation>
    </message>
    <message>
        <source>wrapped at %1, parted by blank lines</source>
        <translation>每 %1 字折行，以空行分段</translation>
    </message>
    <message>
        <source>wrapped at %1, parted by indents</source>
        <translation>每 %1 字折行，以缩进分段</translation>
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
        <translation>产品网页</translation>
    </message>
    <message>
        <source>Open the program&apos;s web page in the browser</source>
        <translation>在浏览器中打开本程序的网页</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>文本文件</translation>
    </message>
    <message>
        <source>The text files of the book, in book order; the menu key chooses a row&apos;s encoding</source>
        <translation>电子书的文本文件，按书中顺序排列；菜单键可选择一行的编码</translation>
    </message>
    <message>
        <source>The book&apos;s title, as readers list it; it also names the book&apos;s file</source>
        <translation>电子书的书名，阅读器按它列出电子书；也用作电子书的文件名</translation>
    </message>
    <message>
        <source>The book&apos;s author</source>
        <translation>电子书的作者</translation>
    </message>
    <message>
        <source>The book&apos;s publisher; may stay empty</source>
        <translation>电子书的出版者；可以留空</translation>
    </message>
    <message>
        <source>The picture on the book&apos;s cover (JPEG, PNG, GIF or BMP); empty: no cover</source>
        <translation>电子书封面上的图片（JPEG、PNG、GIF 或 BMP）；留空：没有封面</translation>
    </message>
    <message>
        <source>Choose cover</source>
        <translation>选择封面</translation>
    </message>
    <message>
        <source>Remove cover</source>
        <translation>去掉封面</translation>
    </message>
    <message>
        <source>Appearance…</source>
        <translation>外观…</translation>
    </message>
    <message>
        <source>The book&apos;s look: paragraph indent, the space between paragraphs, a style sheet of your own</source>
        <translation>电子书的外观：段落缩进、段落间距、您自己的样式表</translation>
    </message>
    <message>
        <source>Contents of the book</source>
        <translation>电子书目录</translation>
    </message>
    <message>
        <source>A book is being made. Stop the conversion and close the window?</source>
        <translation>正在制作电子书。要停止转换并关闭窗口吗？</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is as it was.</source>
        <translation>“%1”保持原样。</translation>
    </message>
    <message>
        <source>No book was written.</source>
        <translation>没有写入电子书。</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>The desktop has no program to show this folder:</source>
        <translation>桌面没有可以显示此文件夹的程序：</translation>
    </message>
    <message>
        <source>The desktop has no program to open this book:</source>
        <translation>桌面没有可以打开此电子书的程序：</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>复制路径</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 字节</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 字节</translation>
    </message>
    <message>
        <source>As written</source>
        <translation>保持原样</translation>
    </message>
    <message>
        <source>Simplified</source>
        <translation>简体</translation>
    </message>
    <message>
        <source>Traditional</source>
        <translation>繁体</translation>
    </message>
    <message>
        <source>Taiwan</source>
        <translation>台湾正体</translation>
    </message>
    <message>
        <source>Hong Kong</source>
        <translation>香港繁体</translation>
    </message>
    <message>
        <source>The script of Chinese text in the book: sources judged Chinese are converted, with their chapter names and the title; Taiwan and Hong Kong also take their own characters, and Taiwan its own words. Japanese is never converted.</source>
        <translation>书中中文的字体：判断为中文的源文件连同章节名和书名一起转换；台湾和香港还采用当地的字形，台湾另用当地的用词。日文从不转换。</translation>
    </message>
    <message>
        <source>Chinese script</source>
        <translation>中文字体</translation>
    </message>
    <message>
        <source>One book per file</source>
        <translation>每个文件一本书</translation>
    </message>
    <message>
        <source>Make a book of each file, with these choices, in a folder you choose; each is named after its title</source>
        <translation>用这些选项把每个文件各做成一本书，放在你选择的文件夹中；每本书以其书名命名</translation>
    </message>
    <message>
        <source>Chinese:</source>
        <translation>中文：</translation>
    </message>
    <message>
        <source>Folder for the books</source>
        <translation>存放图书的文件夹</translation>
    </message>
    <message>
        <source>%1 of %2 books made in &quot;%3&quot;.</source>
        <translation>已在“%3”中制作 %1 本书，共 %2 本。</translation>
    </message>
    <message>
        <source>Not made:</source>
        <translation>未制作：</translation>
    </message>
    <message numerus="yes">
        <source>%n book(s) in &quot;%1&quot; already exist. Replace them?</source>
        <translation>
            <numerusform>“%1”中已有 %n 本书。要替换吗？</numerusform>
        </translation>
    </message>
    <message>
        <source>Title cover</source>
        <translation>书名封面</translation>
    </message>
    <message>
        <source>Without a cover picture, make a cover from the book&apos;s title and author; the preview shows it</source>
        <translation>没有封面图片时，用书名和作者制作封面；预览中会显示</translation>
    </message>
    <message>
        <source>More…</source>
        <translation>更多…</translation>
    </message>
    <message>
        <source>More about the book: description, subjects, series, ISBN, translator, date, rights</source>
        <translation>本书的更多信息：简介、主题、系列、ISBN、译者、日期、版权</translation>
    </message>
    <message>
        <source>Cover of the book</source>
        <translation>电子书封面</translation>
    </message>
    <message>
        <source>A cover made from the title, in %1</source>
        <translation>用书名制作的封面，字体 %1</translation>
    </message>
    <message>
        <source>The cover picture</source>
        <translation>封面图片</translation>
    </message>
    <message>
        <source>No cover</source>
        <translation>无封面</translation>
    </message>
    <message>
        <source>No cover: %1</source>
        <translation>无封面：%1</translation>
    </message>
</context>
<context>
    <name>folivane::ui::TForm3</name>
    <message>
        <source>Quorvel Folivane Converter</source>
        <translation>Quorvel Folivane 文本转电子书</translation>
    </message>
    <message>
        <source>Preprocess...</source>
        <translation>预处理中……</translation>
    </message>
    <message>
        <source>Packing the book…</source>
        <translation>正在打包电子书……</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is building, Please wait...</source>
        <translation>正在生成“%1”，请稍候……</translation>
    </message>
    <message>
        <source>Reading the files…</source>
        <translation>正在读取文件…</translation>
    </message>
    <message>
        <source>Finding the chapters…</source>
        <translation>正在查找章节…</translation>
    </message>
    <message>
        <source>Writing the pages…</source>
        <translation>正在写入页面…</translation>
    </message>
    <message>
        <source>Checking the book…</source>
        <translation>正在检查电子书…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The progress of the conversion</source>
        <translation>转换的进度</translation>
    </message>
    <message>
        <source>How far the conversion has come</source>
        <translation>转换已完成的程度</translation>
    </message>
    <message>
        <source>Stop the conversion; nothing of the book is kept (Esc)</source>
        <translation>停止转换；不保留电子书的任何部分 (Esc)</translation>
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
        <translation>正在准备</translation>
    </message>
    <message>
        <source>Writing the pages</source>
        <translation>正在写入页面</translation>
    </message>
    <message>
        <source>Reading the files</source>
        <translation>正在读取文件</translation>
    </message>
    <message>
        <source>Packing the book</source>
        <translation>正在打包电子书</translation>
    </message>
    <message>
        <source>Finding the chapters</source>
        <translation>正在查找章节</translation>
    </message>
    <message>
        <source>Checking the book</source>
        <translation>正在检查电子书</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
</TS>
