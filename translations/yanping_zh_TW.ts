<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>AboutBox</name>
    <message>
        <source>    方术，是中国传统文化的一个组成部分，它对中国社会生活有着极其深刻的影响，要了解中国的政治、经济、科学文化，就必须了解中国古代的方术。</source>
        <translation>    方術，是中國傳統文化的一個組成部分，它對中國社會生活有著極其深刻的影響，要了解中國的政治、經濟、科學文化，就必須了解中國古代的方術。</translation>
    </message>
    <message>
        <source>警告：</source>
        <translation>警告：</translation>
    </message>
    <message>
        <source>天地备兮难量！</source>
        <translation>天地備兮難量！</translation>
    </message>
    <message>
        <source>神机妙兮莫测！</source>
        <translation>神機妙兮莫測！</translation>
    </message>
    <message>
        <source>非贤人兮莫传！</source>
        <translation>非賢人兮莫傳！</translation>
    </message>
    <message>
        <source>不听劝兮有凶！</source>
        <translation>不聽勸兮有凶！</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation>系統資訊</translation>
    </message>
    <message>
        <source>启动系统信息程序</source>
        <translation>啟動系統資訊程式</translation>
    </message>
    <message>
        <source>关于 %1</source>
        <translation>關於 %1</translation>
    </message>
    <message>
        <source>版本 %1</source>
        <translation>版本 %1</translation>
    </message>
    <message>
        <source>此时系统信息无效</source>
        <translation>找不到系統資訊程式</translation>
    </message>
</context>
<context>
    <name>DivinationSession</name>
    <message>
        <source>《木制衍枰占卜》</source>
        <translation>《木製衍枰占卜》</translation>
    </message>
    <message>
        <source>《电脑衍枰占卜》</source>
        <translation>《電腦衍枰占卜》</translation>
    </message>
    <message>
        <source>《祈祷开始》</source>
        <translation>《祈禱開始》</translation>
    </message>
    <message>
        <source>《祈祷结束》</source>
        <translation>《祈禱結束》</translation>
    </message>
    <message>
        <source>《占卜结束》</source>
        <translation>《占卜結束》</translation>
    </message>
</context>
<context>
    <name>DivinationWindow</name>
    <message>
        <source>上</source>
        <translation>上</translation>
    </message>
    <message>
        <source>中</source>
        <translation>中</translation>
    </message>
    <message>
        <source>下</source>
        <translation>下</translation>
    </message>
    <message>
        <source>空白</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>重 点 卦 象 详 细 解 说</source>
        <translation>重 點 卦 象 詳 細 解 說</translation>
    </message>
    <message>
        <source>重点卦象详细解说</source>
        <translation>重點卦象詳細解說</translation>
    </message>
    <message>
        <source>占卜说明与卦象</source>
        <translation>占卜說明與卦象</translation>
    </message>
    <message>
        <source>%1组第%2枚</source>
        <translation>%1組第%2枚</translation>
    </message>
</context>
<context>
    <name>EmblemImage</name>
    <message>
        <source>衍枰标志：已停止转动</source>
        <translation>衍枰標誌：已停止轉動</translation>
    </message>
    <message>
        <source>衍枰标志：转动中</source>
        <translation>衍枰標誌：轉動中</translation>
    </message>
</context>
<context>
    <name>HomePanel</name>
    <message>
        <source>点击停止转动</source>
        <translation>點選停止轉動</translation>
    </message>
    <message>
        <source>点击开始转动</source>
        <translation>點選開始轉動</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>目錄</translation>
    </message>
    <message>
        <source>衍枰说明</source>
        <translation>衍枰說明</translation>
    </message>
    <message>
        <source>打开衍枰说明</source>
        <translation>開啟衍枰說明</translation>
    </message>
    <message>
        <source>衍枰占卜</source>
        <translation>衍枰占卜</translation>
    </message>
    <message>
        <source>打开衍枰占卜窗口</source>
        <translation>開啟衍枰占卜視窗</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>衍枰说明</source>
        <translation>衍枰說明</translation>
    </message>
    <message>
        <source>衍枰占卜</source>
        <translation>衍枰占卜</translation>
    </message>
    <message>
        <source>关于(&amp;I)</source>
        <translation>關於(&amp;I)</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>PageView</name>
    <message>
        <source>网页</source>
        <translation>網頁</translation>
    </message>
    <message>
        <source>链接</source>
        <translation>連結</translation>
    </message>
</context>
<context>
    <name>PageViewer</name>
    <message>
        <source>使用说明</source>
        <translation>使用說明</translation>
    </message>
</context>
<context>
    <name>ReadingKeeper</name>
    <message>
        <source>保存签文</source>
        <translation>儲存籤文</translation>
    </message>
    <message>
        <source>打印签文</source>
        <translation>列印籤文</translation>
    </message>
    <message>
        <source>PDF 文档 (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG 圖片 (*.png)</translation>
    </message>
    <message>
        <source>保存签文…</source>
        <translation>儲存籤文…</translation>
    </message>
    <message>
        <source>打印签文…</source>
        <translation>列印籤文…</translation>
    </message>
    <message>
        <source>签文超过 %1 页，不能存为图片，请存为 PDF 文档。</source>
        <translation>籤文超過 %1 頁，無法存為圖片，請存為 PDF 文件。</translation>
    </message>
</context>
<context>
    <name>ReadingSheet</name>
    <message>
        <source>零一二三四</source>
        <extracomment>The numerals for the counts 0 to 4, one character each.</extracomment>
        <translation>零一二三四</translation>
    </message>
    <message>
        <source>%1上%2中%3下</source>
        <translation>%1上%2中%3下</translation>
    </message>
    <message>
        <source>%1年%2月%3日 %4</source>
        <translation>%1年%2月%3日 %4</translation>
    </message>
    <message>
        <source>占卜时间&#x3000;</source>
        <translation>占卜時間&#x3000;</translation>
    </message>
    <message>
        <source>（续）</source>
        <translation>（續）</translation>
    </message>
    <message>
        <source>第 %1 页&#x3000;共 %2 页</source>
        <translation>第 %1 頁&#x3000;共 %2 頁</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>******** 警告 ********<byte value="xd"/>
<byte value="xd"/>
计算机系统时钟错误！！！<byte value="xd"/>
请将计算机的日期恢复到当前日期后再重新启动本程序！！！</source>
        <translation>******** 警告 ********<byte value="xd"/>
<byte value="xd"/>
電腦系統時鐘錯誤！<byte value="xd"/>
請將電腦日期改回今天，再重新啟動本程式。</translation>
    </message>
</context>
<context>
    <name>appinfo</name>
    <message>
        <source>衍枰占卜</source>
        <translation>衍枰占卜</translation>
    </message>
</context>
<context>
    <name>errors</name>
    <message>
        <source>内存不足</source>
        <translation>記憶體不足</translation>
    </message>
    <message>
        <source>文件未找到</source>
        <translation>找不到檔案</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>沒有權限</translation>
    </message>
    <message>
        <source>路径/文件访问错误</source>
        <translation>路徑/檔案存取錯誤</translation>
    </message>
    <message>
        <source>路径未找到</source>
        <translation>找不到路徑</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>磁碟已滿</translation>
    </message>
    <message>
        <source>无效的图片</source>
        <translation>無效的圖片</translation>
    </message>
    <message>
        <source>应用程序定义的错误或对象定义的错误</source>
        <translation>應用程式定義或物件定義的錯誤</translation>
    </message>
</context>
<context>
    <name>msgbox</name>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>pages</name>
    <message>
        <source>找不到可以写入的私人文件夹，无法打开%1。</source>
        <translation>找不到可以寫入的私人資料夾，無法開啟%1。</translation>
    </message>
</context>
<context>
    <name>reading</name>
    <message>
        <source>%1上%2中%3下</source>
        <translation>%1上%2中%3下</translation>
    </message>
    <message>
        <source>选择衍枰个数</source>
        <translation>選擇衍枰個數</translation>
    </message>
    <message>
        <source>《电脑衍枰占卜》</source>
        <translation>《電腦衍枰占卜》</translation>
    </message>
</context>
<context>
    <name>texts</name>
    <message>
        <source><byte value="xd"/>
    欢迎来到衍枰占卜平台！<byte value="xd"/>
<byte value="xd"/>
请选择占卜模式：<byte value="xd"/>
<byte value="xd"/>
    1、木制衍枰占卜：用木制衍枰，按照占卜礼仪（点击《木制衍枰占卜》按钮显示礼仪说明）取得上、中、下棋子个数，选择右框的对应条目，显示卦象内容。<byte value="xd"/>
<byte value="xd"/>
    2、电脑衍枰占卜：点击《电脑衍枰占卜》按钮，显示电脑占卜礼仪，按照礼仪先按《祈祷开始》按钮开始祈祷，祈祷结束按《祈祷结束》按钮，显示卦象内容。</source>
        <translation><byte value="xd"/>
    歡迎來到衍枰占卜平台！<byte value="xd"/>
<byte value="xd"/>
請選擇占卜模式：<byte value="xd"/>
<byte value="xd"/>
    1、木製衍枰占卜：用木製衍枰，按照占卜禮儀（點選《木製衍枰占卜》按鈕顯示禮儀說明）取得上、中、下棋子個數，在右側清單中選擇對應的項目，顯示卦象內容。<byte value="xd"/>
<byte value="xd"/>
    2、電腦衍枰占卜：點選《電腦衍枰占卜》按鈕，顯示電腦占卜禮儀，按照禮儀先按《祈禱開始》按鈕開始祈禱，祈禱結束按《祈禱結束》按鈕，顯示卦象內容。</translation>
    </message>
    <message>
        <source><byte value="xd"/>
    电脑衍枰占卜礼仪：<byte value="xd"/>
<byte value="xd"/>
    1、凡占，先须静坐少顷，宁心定志。<byte value="xd"/>
    默念：“天清地宁，至神至灵”。边念边按下《祈祷开始》按钮。<byte value="xd"/>
<byte value="xd"/>
    2、继续默念祈祷词：<byte value="xd"/>
    “本人XXX（替XXX）询问XXX一事，不知可否，意有所疑，不知情况如何，望天地神灵、太上老君、东方如来告知。吉当言吉，凶当言凶，无吉无凶言中平。”<byte value="xd"/>
<byte value="xd"/>
    3、连续默念三遍后，按下《祈祷结束》按钮而成卦。一事一卦，不可再，再则无验矣。</source>
        <translation><byte value="xd"/>
    電腦衍枰占卜禮儀：<byte value="xd"/>
<byte value="xd"/>
    1、凡占，先須靜坐少頃，寧心定志。<byte value="xd"/>
    默唸：「天清地寧，至神至靈」。邊唸邊按下《祈禱開始》按鈕。<byte value="xd"/>
<byte value="xd"/>
    2、繼續默唸祈禱詞：<byte value="xd"/>
    「本人XXX（替XXX）詢問XXX一事，不知可否，意有所疑，不知情況如何，望天地神靈、太上老君、東方如來告知。吉當言吉，凶當言凶，無吉無凶言中平。」<byte value="xd"/>
<byte value="xd"/>
    3、連續默唸三遍後，按下《祈禱結束》按鈕而成卦。一事一卦，不可再，再則無驗矣。</translation>
    </message>
    <message>
        <source><byte value="xd"/>
    木制衍枰占卜礼仪：<byte value="xd"/>
<byte value="xd"/>
    1、凡占，先须冠带焚香,静坐少顷，宁心定志，手捧棋子。<byte value="xd"/>
    先曰：“天清地宁，河图秉灵。焚香一炷，十方肃清，发鼓三通，万神咸听。”<byte value="xd"/>
<byte value="xd"/>
    2、慢慢上下摇动手中棋子，边摇边祈祷如下祝词。<byte value="xd"/>
    祝曰：“天地合德，日月合明，四时合序，鬼神合其吉凶。皇天无私，惟德是辅。兹以（某）年（某）月（某）日（某）时，（某：占卜人籍贯）地，（某某：占卜人姓名），谨焚香，上启天地父母、太上元君、左日右月，五星北斗、二十八宿、四时五行、六甲阴阳、明堂岁德、天十二神、地十二祗、岁月日时值事功曹，（某）为（某）事，心有所愿，意有所疑，沉吟犹豫，请为决之。吉当言吉，凶当言凶，得失是非，惟卦是推。恭望圣慈，明彰报应。”<byte value="xd"/>
<byte value="xd"/>
    3、祝毕，默念“唵（an）、吽（hong）、吽（hong）、摩（mo）、呢（ne）、哒（da）、哩（li）、吽（hong）、吒（zha）、敕（chi）、”真言三遍，掷出手中棋子，记下所得上、中、下成卦。一事一卦，不可再，再则无验矣。<byte value="xd"/>
<byte value="xd"/>
    4、占讫送神。<byte value="xd"/>
    词曰：“向来奉请，仰叩衍枰，已沐感应，今当奉送。愿返云霞之旆，请回霄汉之宫，来时降恩，去时留福。凡有占祷，一如故事。 ”</source>
        <translation><byte value="xd"/>
    木製衍枰占卜禮儀：<byte value="xd"/>
<byte value="xd"/>
    1、凡占，先須冠帶焚香，靜坐少頃，寧心定志，手捧棋子。<byte value="xd"/>
    先曰：「天清地寧，河圖秉靈。焚香一炷，十方肅清，發鼓三通，萬神咸聽。」<byte value="xd"/>
<byte value="xd"/>
    2、慢慢上下搖動手中棋子，邊搖邊祈禱如下祝詞。<byte value="xd"/>
    祝曰：「天地合德，日月合明，四時合序，鬼神合其吉凶。皇天無私，惟德是輔。茲以（某）年（某）月（某）日（某）時，（某：占卜人籍貫）地，（某某：占卜人姓名），謹焚香，上啟天地父母、太上元君、左日右月，五星北斗、二十八宿、四時五行、六甲陰陽、明堂歲德、天十二神、地十二祇、歲月日時值事功曹，（某）為（某）事，心有所願，意有所疑，沉吟猶豫，請為決之。吉當言吉，凶當言凶，得失是非，惟卦是推。恭望聖慈，明彰報應。」<byte value="xd"/>
<byte value="xd"/>
    3、祝畢，默唸「唵（an）、吽（hong）、吽（hong）、摩（mo）、呢（ne）、噠（da）、哩（li）、吽（hong）、吒（zha）、敕（chi）」真言三遍，擲出手中棋子，記下所得上、中、下成卦。一事一卦，不可再，再則無驗矣。<byte value="xd"/>
<byte value="xd"/>
    4、占訖送神。<byte value="xd"/>
    詞曰：「向來奉請，仰叩衍枰，已沐感應，今當奉送。願返雲霞之旆，請回霄漢之宮，來時降恩，去時留福。凡有占禱，一如故事。」</translation>
    </message>
</context>
</TS>
