<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>FailureReasons</name>
    <message>
        <source>Cannot read the file &quot;%1&quot;. %2</source>
        <translation>无法读取文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot open the file &quot;%1&quot;. %2</source>
        <translation>无法打开文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot write the file &quot;%1&quot; to disk. %2</source>
        <translation>无法将文件“%1”写入磁盘。%2</translation>
    </message>
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
        <source>Cannot replace the write-protected file &quot;%1&quot;. %2</source>
        <translation>无法替换写保护的文件“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot use &quot;%1&quot; as the cover: %2</source>
        <translation>无法将“%1”用作封面：%2</translation>
    </message>
    <message>
        <source>Cannot find the chapters of &quot;%1&quot;: %2</source>
        <translation>无法查找“%1”的章节：%2</translation>
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
        <source>&quot;%1&quot; is not a language tag (BCP 47, such as en, zh-CN or ja)</source>
        <translation>“%1”不是语言标记（BCP 47，例如 en、zh-CN 或 ja）</translation>
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
        <source>Chapter %1 is missing</source>
        <translation>缺少第 %1 章</translation>
    </message>
    <message>
        <source>Chapter %1 is repeated</source>
        <translation>第 %1 章重复</translation>
    </message>
    <message numerus="yes">
        <source>%n annotations not understood: %1</source>
        <translation>
            <numerusform>%n 处注记无法识别：%1</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>%1: %2, %3, %4</source>
        <translation>%1：%2，%3，%4</translation>
    </message>
    <message numerus="yes">
        <source>Notices (%n)</source>
        <translation>
            <numerusform>提示（%n 条）</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
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
