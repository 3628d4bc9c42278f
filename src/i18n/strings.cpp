// The localised texts of the memo, tray and hotkey features, and the plural
// rule of the character count.
#include "i18n/strings.h"

#include "platform/decimal.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace quillpane {
namespace {

// Entries follow the language numbers: Japanese, English, Korean, Simplified
// Chinese, Traditional Chinese, French, Italian, German, Spanish, Brazilian
// Portuguese, Polish.
constexpr TextRow kWelcomeText = {
    u"Quillpane へようこそ\r\n"
    u"ここにメモを書いてください。内容は自動で保存され、次に開いたときもそのまま残っています。\r\n"
    u"設定は右上の ⋮（× の左隣）から開けます。\r\n"
    u"この文章は消してかまいません。\r\n",

    u"Welcome to Quillpane\r\n"
    u"Write your notes here. They are saved automatically and will still be here next time.\r\n"
    u"Open Settings from the ⋮ at the top right (to the left of ×).\r\n"
    u"You can delete this text.\r\n",

    u"Quillpane에 오신 것을 환영합니다\r\n"
    u"여기에 메모를 작성하세요. 자동으로 저장되며 다음에 열어도 그대로 남아 있습니다.\r\n"
    u"설정은 오른쪽 위의 ⋮(× 왼쪽)에서 열 수 있습니다.\r\n"
    u"이 글은 삭제해도 됩니다.\r\n",

    u"欢迎使用 Quillpane\r\n"
    u"在这里写下你的笔记。内容会自动保存，下次打开时依然还在。\r\n"
    u"点击右上角的 ⋮（× 的左边）即可打开设置。\r\n"
    u"你可以删除这段文字。\r\n",

    u"歡迎使用 Quillpane\r\n"
    u"在這裡寫下你的筆記。內容會自動儲存，下次開啟時依然還在。\r\n"
    u"點選右上角的 ⋮（× 的左邊）即可開啟設定。\r\n"
    u"你可以刪除這段文字。\r\n",

    u"Bienvenue dans Quillpane\r\n"
    u"Écrivez vos notes ici. Elles sont enregistrées automatiquement et vous les retrouverez la prochaine fois.\r\n"
    u"Ouvrez les paramètres depuis le ⋮ en haut à droite (à gauche du ×).\r\n"
    u"Vous pouvez supprimer ce texte.\r\n",

    u"Benvenuto in Quillpane\r\n"
    u"Scrivi qui le tue note. Vengono salvate automaticamente e le ritroverai la prossima volta.\r\n"
    u"Apri le impostazioni dal ⋮ in alto a destra (a sinistra di ×).\r\n"
    u"Puoi eliminare questo testo.\r\n",

    u"Willkommen bei Quillpane\r\n"
    u"Schreiben Sie Ihre Notizen hier. Sie werden automatisch gespeichert und sind beim nächsten Mal noch da.\r\n"
    u"Die Einstellungen öffnen Sie über ⋮ oben rechts (links neben ×).\r\n"
    u"Sie können diesen Text löschen.\r\n",

    u"Bienvenido a Quillpane\r\n"
    u"Escribe tus notas aquí. Se guardan automáticamente y seguirán aquí la próxima vez.\r\n"
    u"Abre la configuración desde el ⋮ de la esquina superior derecha (a la izquierda de ×).\r\n"
    u"Puedes borrar este texto.\r\n",

    u"Bem-vindo ao Quillpane\r\n"
    u"Escreva suas anotações aqui. Elas são salvas automaticamente e continuarão aqui na próxima vez.\r\n"
    u"Abra as configurações pelo ⋮ no canto superior direito (à esquerda do ×).\r\n"
    u"Você pode apagar este texto.\r\n",

    u"Witamy w Quillpane\r\n"
    u"Pisz tutaj swoje notatki. Zapisują się automatycznie i następnym razem nadal tu będą.\r\n"
    u"Ustawienia otworzysz za pomocą ⋮ w prawym górnym rogu (na lewo od ×).\r\n"
    u"Możesz usunąć ten tekst.\r\n",
};

constexpr TextRow kLoadFailedTooLarge = {
    u"このメモファイルは大きすぎるため読み込めません（上限 64 MB）。上書きを防ぐため、保存を一時的に無効にしました。元のファイルは変更されていません。",
    u"This note file is too large to load (64 MB limit). Saving has been temporarily disabled to avoid overwriting it. The original file has not been modified.",
    u"이 메모 파일은 너무 커서 불러올 수 없습니다(최대 64MB). 덮어쓰지 않도록 저장을 일시적으로 중지했습니다. 원본 파일은 변경되지 않았습니다.",
    u"此笔记文件过大，无法加载（上限 64 MB）。为避免覆盖该文件，已暂时停用保存。原始文件未被修改。",
    u"此筆記檔案過大，無法載入（上限 64 MB）。為避免覆寫該檔案，已暫時停用儲存。原始檔案未被修改。",
    u"Ce fichier de notes est trop volumineux pour être chargé (limite de 64 Mo). L'enregistrement a été temporairement désactivé pour éviter de l'écraser. Le fichier d'origine n'a pas été modifié.",
    u"Questo file di note è troppo grande per essere caricato (limite di 64 MB). Il salvataggio è stato temporaneamente disattivato per evitare di sovrascriverlo. Il file originale non è stato modificato.",
    u"Diese Notizdatei ist zu groß, um geladen zu werden (maximal 64 MB). Das Speichern wurde vorübergehend deaktiviert, damit sie nicht überschrieben wird. Die Originaldatei wurde nicht verändert.",
    u"Este archivo de notas es demasiado grande para cargarlo (límite de 64 MB). El guardado se ha desactivado temporalmente para no sobrescribirlo. El archivo original no se ha modificado.",
    u"Este arquivo de notas é grande demais para ser carregado (limite de 64 MB). O salvamento foi desativado temporariamente para evitar sobrescrevê-lo. O arquivo original não foi modificado.",
    u"Ten plik notatek jest za duży, aby go wczytać (limit 64 MB). Zapisywanie zostało tymczasowo wyłączone, aby go nie nadpisać. Oryginalny plik nie został zmieniony.",
};

constexpr TextRow kLoadFailedUnreadable = {
    u"このメモファイルを読み込めませんでした。上書きを防ぐため、保存を一時的に無効にしました。元のファイルは変更されていません。",
    u"This note file could not be read. Saving has been temporarily disabled to avoid overwriting it. The original file has not been modified.",
    u"이 메모 파일을 읽을 수 없습니다. 덮어쓰지 않도록 저장을 일시적으로 중지했습니다. 원본 파일은 변경되지 않았습니다.",
    u"无法读取此笔记文件。为避免覆盖该文件，已暂时停用保存。原始文件未被修改。",
    u"無法讀取此筆記檔案。為避免覆寫該檔案，已暫時停用儲存。原始檔案未被修改。",
    u"Impossible de lire ce fichier de notes. L'enregistrement a été temporairement désactivé pour éviter de l'écraser. Le fichier d'origine n'a pas été modifié.",
    u"Impossibile leggere questo file di note. Il salvataggio è stato temporaneamente disattivato per evitare di sovrascriverlo. Il file originale non è stato modificato.",
    u"Diese Notizdatei konnte nicht gelesen werden. Das Speichern wurde vorübergehend deaktiviert, damit sie nicht überschrieben wird. Die Originaldatei wurde nicht verändert.",
    u"No se ha podido leer este archivo de notas. El guardado se ha desactivado temporalmente para no sobrescribirlo. El archivo original no se ha modificado.",
    u"Não foi possível ler este arquivo de notas. O salvamento foi desativado temporariamente para evitar sobrescrevê-lo. O arquivo original não foi modificado.",
    u"Nie udało się odczytać tego pliku notatek. Zapisywanie zostało tymczasowo wyłączone, aby go nie nadpisać. Oryginalny plik nie został zmieniony.",
};

constexpr TextRow kSaveFailed = {
    u"メモを保存できませんでした。ファイルが他のプログラムで開かれていないか確認してください。",
    u"Failed to save the note. Please check that the file isn't open in another program.",
    u"메모를 저장하지 못했습니다. 파일이 다른 프로그램에서 열려 있지 않은지 확인하세요.",
    u"无法保存笔记。请确认该文件未在其他程序中打开。",
    u"無法儲存筆記。請確認該檔案未在其他程式中開啟。",
    u"Impossible d'enregistrer la note. Vérifiez que le fichier n'est pas ouvert dans un autre programme.",
    u"Impossibile salvare la nota. Verifica che il file non sia aperto in un altro programma.",
    u"Die Notiz konnte nicht gespeichert werden. Bitte prüfen Sie, ob die Datei in einem anderen Programm geöffnet ist.",
    u"No se ha podido guardar la nota. Comprueba que el archivo no esté abierto en otro programa.",
    u"Não foi possível salvar a nota. Verifique se o arquivo não está aberto em outro programa.",
    u"Nie udało się zapisać notatki. Sprawdź, czy plik nie jest otwarty w innym programie.",
};

constexpr TextRow kHotkeyFailed = {
    u"ショートカットキーを登録できませんでした。他のプログラムですでに使われている可能性があります。別のキーを選んでください。",
    u"Failed to register the shortcut key. It may already be in use by another program. Please choose a different key.",
    u"단축키를 등록하지 못했습니다. 다른 프로그램에서 이미 사용 중일 수 있습니다. 다른 키를 선택하세요.",
    u"无法注册快捷键。该快捷键可能已被其他程序占用。请选择其他按键。",
    u"無法註冊快速鍵。該快速鍵可能已被其他程式使用。請選擇其他按鍵。",
    u"Impossible d'enregistrer le raccourci clavier. Il est peut-être déjà utilisé par un autre programme. Choisissez une autre touche.",
    u"Impossibile registrare il tasto di scelta rapida. Potrebbe essere già in uso da parte di un altro programma. Scegli un tasto diverso.",
    u"Die Tastenkombination konnte nicht registriert werden. Sie wird möglicherweise bereits von einem anderen Programm verwendet. Bitte wählen Sie eine andere Taste.",
    u"No se ha podido registrar la tecla de acceso directo. Puede que otro programa ya la esté usando. Elige otra tecla.",
    u"Não foi possível registrar a tecla de atalho. Ela pode já estar em uso por outro programa. Escolha uma tecla diferente.",
    u"Nie udało się zarejestrować skrótu klawiszowego. Może być już używany przez inny program. Wybierz inny klawisz.",
};

constexpr TextRow kExitWaitsForSave = {
    u"メモを保存できないため、Quillpane は終了せずに保存を試み続けます。今すぐ終了するにはもう一度「終了」を選んでください。保存されていない文字は Backup フォルダーに残します。",
    u"The note could not be saved, so Quillpane keeps running and keeps trying. Choose Exit again to quit now; the unsaved text will be kept in the Backup folder.",
    u"메모를 저장할 수 없어 Quillpane이 종료하지 않고 계속 저장을 시도합니다. 지금 종료하려면 다시 [종료]를 선택하세요. 저장되지 않은 텍스트는 Backup 폴더에 보관됩니다.",
    u"无法保存笔记，Quillpane 将继续运行并不断尝试保存。若要立即退出，请再次选择“退出”；未保存的文本将保留在 Backup 文件夹中。",
    u"無法儲存筆記，Quillpane 將繼續執行並持續嘗試儲存。若要立即結束，請再次選擇「結束」；未儲存的文字將保留在 Backup 資料夾中。",
    u"La note n'a pas pu être enregistrée : Quillpane reste ouvert et réessaie. Choisissez de nouveau Quitter pour fermer maintenant ; le texte non enregistré sera conservé dans le dossier Backup.",
    u"Impossibile salvare la nota: Quillpane resta aperto e continua a riprovare. Scegli di nuovo Esci per chiudere subito; il testo non salvato verrà conservato nella cartella Backup.",
    u"Die Notiz konnte nicht gespeichert werden. Quillpane läuft daher weiter und versucht es erneut. Wählen Sie erneut „Beenden“, um sofort zu beenden; der nicht gespeicherte Text wird im Ordner Backup aufbewahrt.",
    u"No se ha podido guardar la nota, así que Quillpane sigue abierto y lo vuelve a intentar. Elige Salir de nuevo para cerrar ahora; el texto sin guardar se conservará en la carpeta Backup.",
    u"Não foi possível salvar a nota, então o Quillpane continua aberto e tentando. Escolha Sair novamente para fechar agora; o texto não salvo será mantido na pasta Backup.",
    u"Nie udało się zapisać notatki, więc Quillpane działa dalej i ponawia próby. Wybierz ponownie Zakończ, aby zamknąć teraz; niezapisany tekst zostanie zachowany w folderze Backup.",
};

constexpr TextRow kUnsavedTextKept = {
    u"前回の終了時にメモを保存できませんでした。保存されていなかった文字は次のファイルにあります: ",
    u"The note could not be saved when Quillpane last closed. The unsaved text was kept in: ",
    u"지난번 종료할 때 메모를 저장하지 못했습니다. 저장되지 않은 텍스트는 다음 파일에 있습니다: ",
    u"上次关闭时未能保存笔记。未保存的文本保留在：",
    u"上次結束時未能儲存筆記。未儲存的文字保留在：",
    u"La note n'a pas pu être enregistrée à la dernière fermeture de Quillpane. Le texte non enregistré a été conservé dans : ",
    u"Alla chiusura precedente di Quillpane non è stato possibile salvare la nota. Il testo non salvato è stato conservato in: ",
    u"Beim letzten Beenden von Quillpane konnte die Notiz nicht gespeichert werden. Der nicht gespeicherte Text liegt in: ",
    u"No se pudo guardar la nota la última vez que se cerró Quillpane. El texto sin guardar se conservó en: ",
    u"Não foi possível salvar a nota quando o Quillpane foi fechado pela última vez. O texto não salvo foi mantido em: ",
    u"Przy ostatnim zamknięciu Quillpane nie udało się zapisać notatki. Niezapisany tekst zachowano w: ",
};

constexpr TextRow kSearchLabel = {
    u"検索",
    u"Search",
    u"검색",
    u"搜索",
    u"搜尋",
    u"Rechercher",
    u"Cerca",
    u"Suchen",
    u"Buscar",
    u"Pesquisar",
    u"Szukaj",
};

constexpr TextRow kReplaceLabel = {
    u"置換",
    u"Replace",
    u"바꾸기",
    u"替换",
    u"取代",
    u"Remplacer",
    u"Sostituisci",
    u"Ersetzen",
    u"Reemplazar",
    u"Substituir",
    u"Zamień",
};

constexpr TextRow kReplaceAllLabel = {
    u"すべて置換",
    u"Replace All",
    u"모두 바꾸기",
    u"全部替换",
    u"全部取代",
    u"Tout remplacer",
    u"Sostituisci tutto",
    u"Alle ersetzen",
    u"Reemplazar todo",
    u"Substituir tudo",
    u"Zamień wszystko",
};

constexpr TextRow kCloseLabel = {
    u"閉じる",
    u"Close",
    u"닫기",
    u"关闭",
    u"關閉",
    u"Fermer",
    u"Chiudi",
    u"Schließen",
    u"Cerrar",
    u"Fechar",
    u"Zamknij",
};

constexpr TextRow kToggleReplaceRow = {
    u"置換欄の表示/非表示",
    u"Show/hide replace field",
    u"바꾸기 입력란 표시/숨기기",
    u"显示/隐藏替换栏",
    u"顯示/隱藏取代欄位",
    u"Afficher/masquer le champ de remplacement",
    u"Mostra/nascondi il campo di sostituzione",
    u"Ersetzungsfeld ein-/ausblenden",
    u"Mostrar u ocultar el campo de reemplazo",
    u"Mostrar/ocultar o campo de substituição",
    u"Pokaż/ukryj pole zamiany",
};

constexpr TextRow kNotFound = {
    u"見つかりませんでした",
    u"Not found",
    u"찾을 수 없습니다",
    u"未找到",
    u"找不到",
    u"Introuvable",
    u"Non trovato",
    u"Nicht gefunden",
    u"No encontrado",
    u"Não encontrado",
    u"Nie znaleziono",
};

constexpr TextRow kNothingReplacedReadOnly = {
    u"メモは読み取り専用のため、置換しませんでした",
    u"The note is read-only, so nothing was replaced",
    u"메모가 읽기 전용이라 바꾸지 않았습니다",
    u"笔记为只读，未进行替换",
    u"筆記為唯讀，未進行取代",
    u"La note est en lecture seule : rien n'a été remplacé",
    u"La nota è di sola lettura: non è stato sostituito nulla",
    u"Die Notiz ist schreibgeschützt, daher wurde nichts ersetzt",
    u"La nota es de solo lectura, así que no se ha reemplazado nada",
    u"A nota é somente leitura, então nada foi substituído",
    u"Notatka jest tylko do odczytu, więc niczego nie zamieniono",
};

constexpr TextRow kClosePanel = {
    u"パネルを閉じる",
    u"Close panel",
    u"패널 닫기",
    u"关闭面板",
    u"關閉面板",
    u"Fermer le panneau",
    u"Chiudi pannello",
    u"Panel schließen",
    u"Cerrar panel",
    u"Fechar painel",
    u"Zamknij panel",
};

constexpr TextRow kShowPanel = {
    u"パネルを表示",
    u"Show panel",
    u"패널 표시",
    u"显示面板",
    u"顯示面板",
    u"Afficher le panneau",
    u"Mostra pannello",
    u"Panel anzeigen",
    u"Mostrar panel",
    u"Mostrar painel",
    u"Pokaż panel",
};

constexpr TextRow kNoneChoice = {
    u"なし",
    u"None",
    u"없음",
    u"无",
    u"無",
    u"Aucun",
    u"Nessuno",
    u"Keine",
    u"Ninguno",
    u"Nenhum",
    u"Brak",
};

constexpr TextRow kWrapLabel = {
    u"折り返し",
    u"Wrap",
    u"줄 바꿈",
    u"自动换行",
    u"自動換行",
    u"Retour à la ligne",
    u"A capo automatico",
    u"Zeilenumbruch",
    u"Ajuste de línea",
    u"Quebra de linha",
    u"Zawijanie wierszy",
};

constexpr TextRow kWrapToWindow = {
    u"ウィンドウの幅で折り返す",
    u"Wrap to window width",
    u"창 너비에 맞춰 줄 바꿈",
    u"按窗口宽度换行",
    u"依視窗寬度換行",
    u"Ajuster à la largeur de la fenêtre",
    u"Adatta alla larghezza della finestra",
    u"An Fensterbreite umbrechen",
    u"Ajustar al ancho de la ventana",
    u"Ajustar à largura da janela",
    u"Zawijaj do szerokości okna",
};

constexpr TextRow kDontWrap = {
    u"折り返さない",
    u"Don't wrap",
    u"줄 바꿈 안 함",
    u"不换行",
    u"不換行",
    u"Pas de retour à la ligne",
    u"Non andare a capo",
    u"Nicht umbrechen",
    u"No ajustar",
    u"Não quebrar",
    u"Nie zawijaj",
};

constexpr TextRow kSectionMarkerLabel = {
    u"セクション区切り",
    u"Section marker",
    u"섹션 표시",
    u"分节标记",
    u"區段標記",
    u"Marqueur de section",
    u"Indicatore di sezione",
    u"Abschnittsmarkierung",
    u"Marcador de sección",
    u"Marcador de seção",
    u"Znacznik sekcji",
};

constexpr TextRow kDividerLine = {
    u"区切り線",
    u"Divider line",
    u"구분선",
    u"分隔线",
    u"分隔線",
    u"Ligne de séparation",
    u"Linea di separazione",
    u"Trennlinie",
    u"Línea divisoria",
    u"Linha divisória",
    u"Linia podziału",
};

constexpr TextRow kHeadingLine = {
    u"見出し行",
    u"Heading line",
    u"제목 줄",
    u"标题行",
    u"標題行",
    u"Ligne de titre",
    u"Riga di intestazione",
    u"Überschriftzeile",
    u"Línea de encabezado",
    u"Linha de título",
    u"Wiersz nagłówka",
};

constexpr TextRow kFontLabel = {
    u"フォント",
    u"Font",
    u"글꼴",
    u"字体",
    u"字型",
    u"Police",
    u"Carattere",
    u"Schriftart",
    u"Fuente",
    u"Fonte",
    u"Czcionka",
};

constexpr TextRow kFixedWidth = {
    u"等幅",
    u"Fixed-width",
    u"고정 폭",
    u"等宽",
    u"等寬",
    u"Chasse fixe",
    u"Larghezza fissa",
    u"Feste Zeichenbreite",
    u"Ancho fijo",
    u"Largura fixa",
    u"Stała szerokość",
};

constexpr TextRow kProportional = {
    u"プロポーショナル",
    u"Proportional",
    u"가변 폭",
    u"比例宽度",
    u"比例寬度",
    u"Proportionnelle",
    u"Proporzionale",
    u"Proportionalschrift",
    u"Proporcional",
    u"Proporcional",
    u"Proporcjonalna",
};

constexpr TextRow kPanelOpacity = {
    u"パネルの透明度",
    u"Panel opacity",
    u"패널 투명도",
    u"面板透明度",
    u"面板透明效果",
    u"Transparence du panneau",
    u"Trasparenza del pannello",
    u"Panel-Transparenz",
    u"Transparencia del panel",
    u"Transparência do painel",
    u"Przezroczystość panelu",
};

constexpr TextRow kMakeTranslucent = {
    u"パネルを半透明にする (Alt+P)",
    u"Make panel translucent (Alt+P)",
    u"패널을 반투명하게 표시 (Alt+P)",
    u"使面板半透明 (Alt+P)",
    u"讓面板半透明 (Alt+P)",
    u"Rendre le panneau translucide (Alt+P)",
    u"Rendi semitrasparente il pannello (Alt+P)",
    u"Panel halbtransparent machen (Alt+P)",
    u"Hacer el panel translúcido (Alt+P)",
    u"Tornar o painel translúcido (Alt+P)",
    u"Włącz półprzezroczystość panelu (Alt+P)",
};

constexpr TextRow kCloseOnFocusLost = {
    u"フォーカスが外れたら自動で閉じる",
    u"Close automatically when focus is lost",
    u"포커스를 잃으면 자동으로 닫기",
    u"失去焦点时自动关闭",
    u"失去焦點時自動關閉",
    u"Fermer automatiquement à la perte du focus",
    u"Chiudi automaticamente alla perdita del focus",
    u"Automatisch schließen, wenn der Fokus verloren geht",
    u"Cerrar automáticamente al perder el foco",
    u"Fechar automaticamente ao perder o foco",
    u"Zamykaj automatycznie po utracie fokusu",
};

constexpr TextRow kPhoneSync = {
    u"スマートフォン同期 (OneDrive)",
    u"Smartphone sync (OneDrive)",
    u"스마트폰 동기화 (OneDrive)",
    u"手机同步 (OneDrive)",
    u"手機同步 (OneDrive)",
    u"Synchronisation avec le smartphone (OneDrive)",
    u"Sincronizzazione con lo smartphone (OneDrive)",
    u"Smartphone-Synchronisierung (OneDrive)",
    u"Sincronización con el móvil (OneDrive)",
    u"Sincronização com o celular (OneDrive)",
    u"Synchronizacja ze smartfonem (OneDrive)",
};

constexpr TextRow kPhoneQrIntro = {
    u"スマートフォンからも Quillpane を使えます。\n下の QR コードをスマートフォンで読み取ってください。",
    u"You can use Quillpane from your smartphone.\nScan the QR code below with your smartphone.",
    u"스마트폰에서도 Quillpane을 사용할 수 있습니다.\n아래 QR 코드를 스마트폰으로 스캔하세요.",
    u"你也可以在手机上使用 Quillpane。\n请用手机扫描下方的二维码。",
    u"你也可以在手機上使用 Quillpane。\n請用手機掃描下方的 QR 碼。",
    u"Vous pouvez utiliser Quillpane depuis votre smartphone.\nScannez le code QR ci-dessous avec votre smartphone.",
    u"Puoi usare Quillpane dal tuo smartphone.\nScansiona il codice QR qui sotto con lo smartphone.",
    u"Sie können Quillpane auch auf Ihrem Smartphone verwenden.\nScannen Sie den QR-Code unten mit Ihrem Smartphone.",
    u"Puedes usar Quillpane desde tu móvil.\nEscanea el código QR de abajo con el móvil.",
    u"Você pode usar o Quillpane no seu celular.\nEscaneie o código QR abaixo com o celular.",
    u"Możesz korzystać z Quillpane na smartfonie.\nZeskanuj smartfonem poniższy kod QR.",
};

constexpr TextRow kPhoneQrHomeScreen = {
    u"スマートフォンで開いたあとホーム画面に追加すると、アプリのように起動できます。",
    u"After opening it on your smartphone, add it to the home screen to launch it like an app.",
    u"스마트폰에서 연 뒤 홈 화면에 추가하면 앱처럼 실행할 수 있습니다.",
    u"在手机上打开后，将其添加到主屏幕，即可像应用一样启动。",
    u"在手機上開啟後，將其加入主畫面，即可像 App 一樣啟動。",
    u"Après l'avoir ouvert sur votre smartphone, ajoutez-le à l'écran d'accueil pour le lancer comme une application.",
    u"Dopo averlo aperto sullo smartphone, aggiungilo alla schermata Home per avviarlo come un'app.",
    u"Fügen Sie es nach dem Öffnen auf dem Smartphone zum Startbildschirm hinzu, um es wie eine App zu starten.",
    u"Después de abrirlo en el móvil, añádelo a la pantalla de inicio para abrirlo como una aplicación.",
    u"Depois de abrir no celular, adicione-o à tela inicial para abri-lo como um aplicativo.",
    u"Po otwarciu na smartfonie dodaj go do ekranu głównego, aby uruchamiać go jak aplikację.",
};

constexpr TextRow kFindCommand = {
    u"検索…",
    u"Find…",
    u"찾기…",
    u"查找…",
    u"尋找…",
    u"Rechercher…",
    u"Trova…",
    u"Suchen…",
    u"Buscar…",
    u"Localizar…",
    u"Znajdź…",
};

constexpr TextRow kVoiceTyping = {
    u"音声入力 (Win+H)",
    u"Voice typing (Win+H)",
    u"음성 입력 (Win+H)",
    u"语音输入 (Win+H)",
    u"語音輸入 (Win+H)",
    u"Saisie vocale (Win+H)",
    u"Digitazione vocale (Win+H)",
    u"Spracheingabe (Win+H)",
    u"Escritura por voz (Win+H)",
    u"Digitação por voz (Win+H)",
    u"Pisanie głosowe (Win+H)",
};

constexpr TextRow kOpenWithDefaultApp = {
    u"既定のアプリで開く",
    u"Open with default app",
    u"기본 앱으로 열기",
    u"用默认应用打开",
    u"以預設應用程式開啟",
    u"Ouvrir avec l'application par défaut",
    u"Apri con l'app predefinita",
    u"Mit Standard-App öffnen",
    u"Abrir con la aplicación predeterminada",
    u"Abrir com o aplicativo padrão",
    u"Otwórz w domyślnej aplikacji",
};

constexpr TextRow kShareCommand = {
    u"共有…",
    u"Share…",
    u"공유…",
    u"共享…",
    u"共用…",
    u"Partager…",
    u"Condividi…",
    u"Teilen…",
    u"Compartir…",
    u"Compartilhar…",
    u"Udostępnij…",
};

constexpr TextRow kAlwaysOnTop = {
    u"常に手前に表示 (Alt+T)",
    u"Always on top (Alt+T)",
    u"항상 위 (Alt+T)",
    u"始终置顶 (Alt+T)",
    u"永遠在最上層 (Alt+T)",
    u"Toujours au premier plan (Alt+T)",
    u"Sempre in primo piano (Alt+T)",
    u"Immer im Vordergrund (Alt+T)",
    u"Siempre visible (Alt+T)",
    u"Sempre visível (Alt+T)",
    u"Zawsze na wierzchu (Alt+T)",
};

constexpr TextRow kProperties = {
    u"プロパティ",
    u"Properties",
    u"속성",
    u"属性",
    u"內容",
    u"Propriétés",
    u"Proprietà",
    u"Eigenschaften",
    u"Propiedades",
    u"Propriedades",
    u"Właściwości",
};

constexpr TextRow kCharsSuffix = {
    u"文字",
    u" chars",
    u"글자",
    u" 个字符",
    u" 個字元",
    u" caractères",
    u" caratteri",
    u" Zeichen",
    u" caracteres",
    u" caracteres",
    u" znaków",
};

constexpr TextRow kBytesSuffix = {
    u" バイト",
    u" bytes",
    u" 바이트",
    u" 字节",
    u" 位元組",
    u" octets",
    u" byte",
    u" Bytes",
    u" bytes",
    u" bytes",
    u" bajtów",
};

constexpr TextRow kHighlightWord = {
    u"ハイライト",
    u"Highlight",
    u"강조 표시",
    u"高亮",
    u"醒目提示",
    u"Surlignage",
    u"Evidenziazione",
    u"Hervorhebung",
    u"Resaltado",
    u"Destaque",
    u"Wyróżnienie",
};

constexpr TextRow kGoToLine = {
    u"行へ移動",
    u"Go to Line",
    u"줄 이동",
    u"转到行",
    u"移至行",
    u"Atteindre la ligne",
    u"Vai alla riga",
    u"Gehe zu Zeile",
    u"Ir a la línea",
    u"Ir para a linha",
    u"Przejdź do wiersza",
};

constexpr TextRow kHeadingListLabel = {
    u"見出し一覧",
    u"Heading List",
    u"제목 목록",
    u"标题列表",
    u"標題清單",
    u"Liste des titres",
    u"Elenco delle intestazioni",
    u"Überschriftenliste",
    u"Lista de encabezados",
    u"Lista de títulos",
    u"Lista nagłówków",
};

constexpr TextRow kSidebarButton = {
    u"サイドバー (Ctrl+B)",
    u"Sidebar (Ctrl+B)",
    u"사이드바 (Ctrl+B)",
    u"侧边栏 (Ctrl+B)",
    u"側邊欄 (Ctrl+B)",
    u"Barre latérale (Ctrl+B)",
    u"Barra laterale (Ctrl+B)",
    u"Seitenleiste (Ctrl+B)",
    u"Barra lateral (Ctrl+B)",
    u"Barra lateral (Ctrl+B)",
    u"Pasek boczny (Ctrl+B)",
};

constexpr TextRow kSettingsButton = {
    u"設定 (Alt+S)",
    u"Settings (Alt+S)",
    u"설정 (Alt+S)",
    u"设置 (Alt+S)",
    u"設定 (Alt+S)",
    u"Paramètres (Alt+S)",
    u"Impostazioni (Alt+S)",
    u"Einstellungen (Alt+S)",
    u"Configuración (Alt+S)",
    u"Configurações (Alt+S)",
    u"Ustawienia (Alt+S)",
};

constexpr TextRow kReadmeMenu = {
    u"README.md (使い方)",
    u"README.md",
    u"README.md (사용법)",
    u"README.md (使用说明)",
    u"README.md (使用說明)",
    u"README.md (Guide d'utilisation)",
    u"README.md (Manuale d'uso)",
    u"README.md (Anleitung)",
    u"README.md (Guía de uso)",
    u"README.md",
    u"README.md",
};

constexpr TextRow kSettingsMenu = {
    u"設定...",
    u"Settings...",
    u"설정...",
    u"设置...",
    u"設定...",
    u"Paramètres...",
    u"Impostazioni...",
    u"Einstellungen...",
    u"Configuración...",
    u"Configurações...",
    u"Ustawienia...",
};

constexpr TextRow kHelpMenu = {
    u"ヘルプ",
    u"Help",
    u"도움말",
    u"帮助",
    u"說明",
    u"Aide",
    u"Guida",
    u"Hilfe",
    u"Ayuda",
    u"Ajuda",
    u"Pomoc",
};

constexpr TextRow kPhoneDocMenu = {
    u"PHONE.md (スマートフォンでの使い方)",
    u"PHONE.md",
    u"PHONE.md (스마트폰 사용법)",
    u"PHONE.md (手机使用说明)",
    u"PHONE.md (手機使用說明)",
    u"PHONE.md (Utilisation sur smartphone)",
    u"PHONE.md (Uso da smartphone)",
    u"PHONE.md (Smartphone-Anleitung)",
    u"PHONE.md (Guía para el móvil)",
    u"PHONE.md (Uso no celular)",
    u"PHONE.md (Korzystanie na smartfonie)",
};

constexpr TextRow kChangelogMenu = {
    u"CHANGELOG.md (更新履歴)",
    u"CHANGELOG.md",
    u"CHANGELOG.md (변경 내역)",
    u"CHANGELOG.md (更新日志)",
    u"CHANGELOG.md (更新紀錄)",
    u"CHANGELOG.md (Historique des versions)",
    u"CHANGELOG.md (Cronologia delle versioni)",
    u"CHANGELOG.md (Versionshistorie)",
    u"CHANGELOG.md (Historial de versiones)",
    u"CHANGELOG.md (Histórico de versões)",
    u"CHANGELOG.md (Historia wersji)",
};

constexpr TextRow kAboutApp = {
    u"このアプリについて…",
    u"About this app…",
    u"앱 정보…",
    u"关于此应用…",
    u"關於此應用程式…",
    u"À propos de cette application…",
    u"Informazioni sull'app…",
    u"Über diese App…",
    u"Acerca de esta aplicación…",
    u"Sobre este aplicativo…",
    u"O aplikacji…",
};

constexpr TextRow kExitApp = {
    u"Quillpane を終了",
    u"Exit Quillpane",
    u"Quillpane 종료",
    u"退出 Quillpane",
    u"結束 Quillpane",
    u"Quitter Quillpane",
    u"Esci da Quillpane",
    u"Quillpane beenden",
    u"Salir de Quillpane",
    u"Sair do Quillpane",
    u"Zakończ Quillpane",
};

constexpr TextRow kLineNumberCue = {
    u"行番号",
    u"Line number",
    u"줄 번호",
    u"行号",
    u"行號",
    u"Numéro de ligne",
    u"Numero di riga",
    u"Zeilennummer",
    u"Número de línea",
    u"Número da linha",
    u"Numer wiersza",
};

constexpr TextRow kUndoCommand = {
    u"元に戻す",
    u"Undo",
    u"실행 취소",
    u"撤销",
    u"復原",
    u"Annuler",
    u"Annulla",
    u"Rückgängig",
    u"Deshacer",
    u"Desfazer",
    u"Cofnij",
};

constexpr TextRow kRedoCommand = {
    u"やり直し",
    u"Redo",
    u"다시 실행",
    u"重做",
    u"取消復原",
    u"Rétablir",
    u"Ripeti",
    u"Wiederholen",
    u"Rehacer",
    u"Refazer",
    u"Ponów",
};

constexpr TextRow kCutCommand = {
    u"切り取り",
    u"Cut",
    u"잘라내기",
    u"剪切",
    u"剪下",
    u"Couper",
    u"Taglia",
    u"Ausschneiden",
    u"Cortar",
    u"Recortar",
    u"Wytnij",
};

constexpr TextRow kCopyCommand = {
    u"コピー",
    u"Copy",
    u"복사",
    u"复制",
    u"複製",
    u"Copier",
    u"Copia",
    u"Kopieren",
    u"Copiar",
    u"Copiar",
    u"Kopiuj",
};

constexpr TextRow kPasteCommand = {
    u"貼り付け",
    u"Paste",
    u"붙여넣기",
    u"粘贴",
    u"貼上",
    u"Coller",
    u"Incolla",
    u"Einfügen",
    u"Pegar",
    u"Colar",
    u"Wklej",
};

constexpr TextRow kDeleteCommand = {
    u"削除",
    u"Delete",
    u"삭제",
    u"删除",
    u"刪除",
    u"Supprimer",
    u"Elimina",
    u"Löschen",
    u"Eliminar",
    u"Excluir",
    u"Usuń",
};

constexpr TextRow kSelectAllCommand = {
    u"すべて選択",
    u"Select All",
    u"모두 선택",
    u"全选",
    u"全選",
    u"Tout sélectionner",
    u"Seleziona tutto",
    u"Alles auswählen",
    u"Seleccionar todo",
    u"Selecionar tudo",
    u"Zaznacz wszystko",
};

constexpr TextRow kSelectThisNote = {
    u"このメモを選択",
    u"Select This Note",
    u"이 메모 선택",
    u"选择此笔记",
    u"選取此筆記",
    u"Sélectionner cette note",
    u"Seleziona questa nota",
    u"Diese Notiz auswählen",
    u"Seleccionar esta nota",
    u"Selecionar esta nota",
    u"Zaznacz tę notatkę",
};

constexpr TextRow kInsertDateTimeCommand = {
    u"日付と時刻を挿入",
    u"Insert Date/Time",
    u"날짜/시간 삽입",
    u"插入日期/时间",
    u"插入日期/時間",
    u"Insérer la date et l’heure",
    u"Inserisci data/ora",
    u"Datum/Uhrzeit einfügen",
    u"Insertar fecha y hora",
    u"Inserir data/hora",
    u"Wstaw datę/godzinę",
};

constexpr TextRow kHighlightSelectedText = {
    u"選択した文字列を強調表示",
    u"Highlight Selected Text",
    u"선택한 텍스트 강조",
    u"突出显示所选文本",
    u"醒目提示選取的文字",
    u"Surligner le texte sélectionné",
    u"Evidenzia testo selezionato",
    u"Markierten Text hervorheben",
    u"Resaltar texto seleccionado",
    u"Realçar texto selecionado",
    u"Wyróżnij zaznaczony tekst",
};

constexpr TextRow kHighlightWordAtCaret = {
    u"カーソル位置の単語を強調表示",
    u"Highlight Word at Caret",
    u"커서 위치의 단어 강조",
    u"突出显示光标处的单词",
    u"醒目提示游標處的字詞",
    u"Surligner le mot au curseur",
    u"Evidenzia parola al cursore",
    u"Wort an der Einfügemarke hervorheben",
    u"Resaltar palabra en el cursor",
    u"Realçar palavra no cursor",
    u"Wyróżnij słowo przy kursorze",
};

constexpr TextRow kSearchWebCommand = {
    u"Web で検索",
    u"Search the Web",
    u"웹 검색",
    u"在网上搜索",
    u"在網路上搜尋",
    u"Rechercher sur le Web",
    u"Cerca nel Web",
    u"Im Web suchen",
    u"Buscar en la Web",
    u"Pesquisar na Web",
    u"Szukaj w internecie",
};

constexpr TextRow kReplaceCommand = {
    u"置換…",
    u"Replace…",
    u"바꾸기…",
    u"替换…",
    u"取代…",
    u"Remplacer…",
    u"Sostituisci…",
    u"Ersetzen…",
    u"Reemplazar…",
    u"Substituir…",
    u"Zamień…",
};

constexpr TextRow kGoToLastEdit = {
    u"最後の編集位置へ移動",
    u"Go to Last Edit Location",
    u"마지막 편집 위치로 이동",
    u"转到上次编辑位置",
    u"移至上次編輯位置",
    u"Aller au dernier emplacement modifié",
    u"Vai all’ultima modifica",
    u"Zur letzten Bearbeitungsstelle",
    u"Ir a la última edición",
    u"Ir para a última edição",
    u"Przejdź do miejsca ostatniej edycji",
};

constexpr TextRow kTextSubmenu = {
    u"テキスト",
    u"Text",
    u"텍스트",
    u"文本",
    u"文字",
    u"Texte",
    u"Testo",
    u"Text",
    u"Texto",
    u"Texto",
    u"Tekst",
};

constexpr TextRow kDuplicateLine = {
    u"行を複製",
    u"Duplicate Line",
    u"줄 복제",
    u"复制行",
    u"複製行",
    u"Dupliquer la ligne",
    u"Duplica riga",
    u"Zeile duplizieren",
    u"Duplicar línea",
    u"Duplicar linha",
    u"Powiel wiersz",
};

constexpr TextRow kJoinLines = {
    u"行を結合",
    u"Join Lines",
    u"줄 합치기",
    u"合并行",
    u"合併行",
    u"Joindre les lignes",
    u"Unisci righe",
    u"Zeilen verbinden",
    u"Unir líneas",
    u"Unir linhas",
    u"Połącz wiersze",
};

constexpr TextRow kMoveLineUp = {
    u"行を上へ移動",
    u"Move Line Up",
    u"줄을 위로 이동",
    u"上移行",
    u"向上移動行",
    u"Monter la ligne",
    u"Sposta riga su",
    u"Zeile nach oben",
    u"Subir línea",
    u"Mover linha para cima",
    u"Przesuń wiersz w górę",
};

constexpr TextRow kMoveLineDown = {
    u"行を下へ移動",
    u"Move Line Down",
    u"줄을 아래로 이동",
    u"下移行",
    u"向下移動行",
    u"Descendre la ligne",
    u"Sposta riga giù",
    u"Zeile nach unten",
    u"Bajar línea",
    u"Mover linha para baixo",
    u"Przesuń wiersz w dół",
};

constexpr TextRow kSortAscending = {
    u"行を昇順に並べ替え",
    u"Sort Lines Ascending",
    u"줄 오름차순 정렬",
    u"按升序排列行",
    u"依遞增排序行",
    u"Trier les lignes par ordre croissant",
    u"Ordina righe in modo crescente",
    u"Zeilen aufsteigend sortieren",
    u"Ordenar líneas de forma ascendente",
    u"Ordenar linhas em ordem crescente",
    u"Sortuj wiersze rosnąco",
};

constexpr TextRow kSortDescending = {
    u"行を降順に並べ替え",
    u"Sort Lines Descending",
    u"줄 내림차순 정렬",
    u"按降序排列行",
    u"依遞減排序行",
    u"Trier les lignes par ordre décroissant",
    u"Ordina righe in modo decrescente",
    u"Zeilen absteigend sortieren",
    u"Ordenar líneas de forma descendente",
    u"Ordenar linhas em ordem decrescente",
    u"Sortuj wiersze malejąco",
};

constexpr TextRow kRemoveDuplicateLines = {
    u"重複行を削除",
    u"Remove Duplicate Lines",
    u"중복 줄 제거",
    u"删除重复行",
    u"移除重複行",
    u"Supprimer les lignes en double",
    u"Rimuovi righe duplicate",
    u"Doppelte Zeilen entfernen",
    u"Quitar líneas duplicadas",
    u"Remover linhas duplicadas",
    u"Usuń zduplikowane wiersze",
};

constexpr TextRow kRemoveEmptyLines = {
    u"空行を削除",
    u"Remove Empty Lines",
    u"빈 줄 제거",
    u"删除空行",
    u"移除空白行",
    u"Supprimer les lignes vides",
    u"Rimuovi righe vuote",
    u"Leere Zeilen entfernen",
    u"Quitar líneas vacías",
    u"Remover linhas vazias",
    u"Usuń puste wiersze",
};

constexpr TextRow kTrimTrailingWhitespace = {
    u"行末の空白を削除",
    u"Trim Trailing Whitespace",
    u"줄 끝 공백 제거",
    u"删除行尾空白",
    u"移除行尾空白",
    u"Supprimer les espaces en fin de ligne",
    u"Rimuovi spazi a fine riga",
    u"Leerzeichen am Zeilenende entfernen",
    u"Quitar espacios al final de línea",
    u"Remover espaços no fim da linha",
    u"Usuń spacje na końcu wierszy",
};

constexpr TextRow kInsertDate = {
    u"日付を挿入",
    u"Insert Date",
    u"날짜 삽입",
    u"插入日期",
    u"插入日期",
    u"Insérer la date",
    u"Inserisci data",
    u"Datum einfügen",
    u"Insertar fecha",
    u"Inserir data",
    u"Wstaw datę",
};

constexpr TextRow kInsertTime = {
    u"時刻を挿入",
    u"Insert Time",
    u"시간 삽입",
    u"插入时间",
    u"插入時間",
    u"Insérer l’heure",
    u"Inserisci ora",
    u"Uhrzeit einfügen",
    u"Insertar hora",
    u"Inserir hora",
    u"Wstaw godzinę",
};

constexpr TextRow kOpenContainingFolder = {
    u"このファイルのあるフォルダーを開く",
    u"Open folder containing this file",
    u"이 파일이 있는 폴더 열기",
    u"打开文件所在的文件夹",
    u"開啟檔案所在的資料夾",
    u"Ouvrir le dossier contenant ce fichier",
    u"Apri la cartella che contiene il file",
    u"Ordner mit dieser Datei öffnen",
    u"Abrir la carpeta que contiene este archivo",
    u"Abrir a pasta que contém este arquivo",
    u"Otwórz folder zawierający ten plik",
};

constexpr TextRow kPathNotFound = {
    u"（見つかりません）",
    u"(not found)",
    u"(찾을 수 없음)",
    u"（未找到）",
    u"（找不到）",
    u"(introuvable)",
    u"(non trovato)",
    u"(nicht gefunden)",
    u"(no encontrado)",
    u"(não encontrado)",
    u"(nie znaleziono)",
};

constexpr TextRow kFolderEmpty = {
    u"（空）",
    u"(empty)",
    u"(비어 있음)",
    u"（空）",
    u"（空的）",
    u"(vide)",
    u"(vuota)",
    u"(leer)",
    u"(vacía)",
    u"(vazia)",
    u"(pusty)",
};

constexpr TextRow kMoreEntries = {
    u"ほか %d 件…",
    u"%d more…",
    u"%d개 더…",
    u"还有 %d 项…",
    u"還有 %d 項…",
    u"%d de plus…",
    u"Altri %d…",
    u"%d weitere…",
    u"%d más…",
    u"Mais %d…",
    u"Jeszcze %d…",
};

constexpr TextRow kNetworkPathNotListed = {
    u"（ネットワーク上のパス）",
    u"(network path)",
    u"(네트워크 경로)",
    u"（网络路径）",
    u"（網路路徑）",
    u"(chemin réseau)",
    u"(percorso di rete)",
    u"(Netzwerkpfad)",
    u"(ruta de red)",
    u"(caminho de rede)",
    u"(ścieżka sieciowa)",
};

constexpr TextRow kSettingsTitle = {
    u"Quillpane 設定",
    u"Quillpane Settings",
    u"Quillpane 설정",
    u"Quillpane 设置",
    u"Quillpane 設定",
    u"Paramètres de Quillpane",
    u"Impostazioni di Quillpane",
    u"Quillpane-Einstellungen",
    u"Configuración de Quillpane",
    u"Configurações do Quillpane",
    u"Ustawienia Quillpane",
};

constexpr TextRow kAppearanceHeading = {
    u"外観",
    u"Appearance",
    u"모양",
    u"外观",
    u"外觀",
    u"Apparence",
    u"Aspetto",
    u"Darstellung",
    u"Apariencia",
    u"Aparência",
    u"Wygląd",
};

constexpr TextRow kTextHeading = {
    u"テキスト",
    u"Text",
    u"텍스트",
    u"文本",
    u"文字",
    u"Texte",
    u"Testo",
    u"Schrift",
    u"Texto",
    u"Texto",
    u"Tekst",
};

constexpr TextRow kMemoHeading = {
    u"メモ",
    u"Memo",
    u"메모",
    u"笔记",
    u"筆記",
    u"Mémo",
    u"Promemoria",
    u"Notiz",
    u"Nota",
    u"Nota",
    u"Notatka",
};

constexpr TextRow kWindowHeading = {
    u"ウィンドウ",
    u"Window",
    u"창",
    u"窗口",
    u"視窗",
    u"Fenêtre",
    u"Finestra",
    u"Fenster",
    u"Ventana",
    u"Janela",
    u"Okno",
};

constexpr TextRow kBackupHeading = {
    u"バックアップ",
    u"Backup",
    u"백업",
    u"备份",
    u"備份",
    u"Sauvegarde",
    u"Copia di backup",
    u"Sicherung",
    u"Copia de seguridad",
    u"Cópia de segurança",
    u"Kopia zapasowa",
};

constexpr TextRow kLanguageLabel = {
    u"言語",
    u"Language",
    u"언어",
    u"语言",
    u"語言",
    u"Langue",
    u"Lingua",
    u"Sprache",
    u"Idioma",
    u"Idioma",
    u"Język",
};

constexpr TextRow kWindowsDisplayLanguage = {
    u"Windows の表示言語",
    u"Windows display language",
    u"Windows 표시 언어",
    u"Windows 显示语言",
    u"Windows 顯示語言",
    u"Langue de Windows",
    u"Lingua di Windows",
    u"Windows-Anzeigesprache",
    u"Idioma de Windows",
    u"Idioma do Windows",
    u"Język systemu Windows",
};

constexpr TextRow kThemeLabel = {
    u"テーマ",
    u"Theme",
    u"테마",
    u"主题",
    u"主題",
    u"Thème",
    u"Tema",
    u"Design",
    u"Tema",
    u"Tema",
    u"Motyw",
};

constexpr TextRow kMatchWindows = {
    u"Windows に合わせる",
    u"Match Windows",
    u"Windows 설정에 맞춤",
    u"跟随 Windows",
    u"跟隨 Windows",
    u"Comme Windows",
    u"Come Windows",
    u"Wie Windows",
    u"Como Windows",
    u"Como o Windows",
    u"Jak w systemie Windows",
};

constexpr TextRow kLightTheme = {
    u"ライト",
    u"Light",
    u"밝게",
    u"浅色",
    u"淺色",
    u"Clair",
    u"Chiaro",
    u"Hell",
    u"Claro",
    u"Claro",
    u"Jasny",
};

constexpr TextRow kDarkTheme = {
    u"ダーク",
    u"Dark",
    u"어둡게",
    u"深色",
    u"暗色",
    u"Sombre",
    u"Scuro",
    u"Dunkel",
    u"Oscuro",
    u"Escuro",
    u"Ciemny",
};

constexpr TextRow kShowLineNumbers = {
    u"行番号を表示",
    u"Show line numbers",
    u"줄 번호 표시",
    u"显示行号",
    u"顯示行號",
    u"Afficher les numéros de ligne",
    u"Mostra i numeri di riga",
    u"Zeilennummern anzeigen",
    u"Mostrar números de línea",
    u"Mostrar números de linha",
    u"Pokaż numery wierszy",
};

constexpr TextRow kHighlightCurrentLine = {
    u"現在行を強調表示",
    u"Highlight current line",
    u"현재 줄 강조",
    u"突出显示当前行",
    u"醒目提示目前行",
    u"Surligner la ligne active",
    u"Evidenzia la riga corrente",
    u"Aktuelle Zeile hervorheben",
    u"Resaltar la línea actual",
    u"Realçar a linha atual",
    u"Wyróżnij bieżący wiersz",
};

constexpr TextRow kUnderlineCurrentLine = {
    u"現在行に下線",
    u"Underline current line",
    u"현재 줄 밑줄",
    u"为当前行加下划线",
    u"為目前行加底線",
    u"Souligner la ligne active",
    u"Sottolinea la riga corrente",
    u"Aktuelle Zeile unterstreichen",
    u"Subrayar la línea actual",
    u"Sublinhar a linha atual",
    u"Podkreśl bieżący wiersz",
};

constexpr TextRow kShowSidebar = {
    u"サイドバーを表示",
    u"Show sidebar",
    u"사이드바 표시",
    u"显示侧边栏",
    u"顯示側邊欄",
    u"Afficher la barre latérale",
    u"Mostra la barra laterale",
    u"Seitenleiste anzeigen",
    u"Mostrar la barra lateral",
    u"Mostrar a barra lateral",
    u"Pokaż pasek boczny",
};

constexpr TextRow kCaretLabel = {
    u"キャレット",
    u"Caret",
    u"캐럿",
    u"光标",
    u"游標",
    u"Curseur",
    u"Cursore",
    u"Textcursor",
    u"Cursor",
    u"Cursor",
    u"Kursor",
};

constexpr TextRow kCaretLine = {
    u"キャレット: 縦線",
    u"Caret: line",
    u"캐럿: 선",
    u"光标：竖线",
    u"游標：直線",
    u"Curseur : ligne",
    u"Cursore: linea",
    u"Cursor: Linie",
    u"Cursor: línea",
    u"Cursor: linha",
    u"Kursor: linia",
};

constexpr TextRow kCaretBlock = {
    u"キャレット: ブロック",
    u"Caret: block",
    u"캐럿: 블록",
    u"光标：方块",
    u"游標：方塊",
    u"Curseur : bloc",
    u"Cursore: blocco",
    u"Cursor: Block",
    u"Cursor: bloque",
    u"Cursor: bloco",
    u"Kursor: blok",
};

constexpr TextRow kCaretDos = {
    u"キャレット: DOS 風",
    u"Caret: DOS-style",
    u"캐럿: DOS 스타일",
    u"光标：DOS 风格",
    u"游標：DOS 風格",
    u"Curseur : style DOS",
    u"Cursore: stile DOS",
    u"Cursor: DOS-Stil",
    u"Cursor: estilo DOS",
    u"Cursor: estilo DOS",
    u"Kursor: styl DOS",
};

constexpr TextRow kFontSizeLabel = {
    u"文字サイズ",
    u"Font size",
    u"글꼴 크기",
    u"字号",
    u"字型大小",
    u"Taille du texte",
    u"Dimensione del testo",
    u"Schriftgröße",
    u"Tamaño de letra",
    u"Tamanho da fonte",
    u"Rozmiar czcionki",
};

constexpr TextRow kFoldMemos = {
    u"メモを折りたたむ",
    u"Fold memos",
    u"메모 접기",
    u"折叠笔记",
    u"摺疊筆記",
    u"Replier les mémos",
    u"Comprimi i promemoria",
    u"Notizen einklappen",
    u"Plegar notas",
    u"Recolher notas",
    u"Zwijaj notatki",
};

constexpr TextRow kStartWithWindows = {
    u"Windows の起動時に開始",
    u"Start with Windows",
    u"Windows 시작 시 실행",
    u"随 Windows 启动",
    u"隨 Windows 啟動",
    u"Lancer au démarrage de Windows",
    u"Avvia con Windows",
    u"Mit Windows starten",
    u"Iniciar con Windows",
    u"Iniciar com o Windows",
    u"Uruchamiaj z systemem Windows",
};

constexpr TextRow kShortcutToShowPanel = {
    u"パネルを表示するショートカット",
    u"Shortcut to show the panel",
    u"패널을 표시하는 바로 가기 키",
    u"显示面板的快捷键",
    u"顯示面板的快速鍵",
    u"Raccourci pour afficher le panneau",
    u"Scorciatoia per mostrare il pannello",
    u"Tastenkürzel zum Anzeigen des Panels",
    u"Atajo para mostrar el panel",
    u"Atalho para mostrar o painel",
    u"Skrót wyświetlający panel",
};

constexpr TextRow kIntervalMinutes = {
    u"間隔（分）",
    u"Interval (min)",
    u"간격(분)",
    u"间隔（分钟）",
    u"間隔（分鐘）",
    u"Intervalle (min)",
    u"Intervallo (min)",
    u"Intervall (Min.)",
    u"Intervalo (min)",
    u"Intervalo (min)",
    u"Odstęp (min)",
};

constexpr TextRow kGenerations = {
    u"世代数",
    u"Generations",
    u"보관 개수",
    u"保留份数",
    u"保留份數",
    u"Générations",
    u"Generazioni",
    u"Generationen",
    u"Generaciones",
    u"Gerações",
    u"Liczba kopii",
};

constexpr TextRow kOpenBackupFolder = {
    u"バックアップフォルダーを開く",
    u"Open backup folder",
    u"백업 폴더 열기",
    u"打开备份文件夹",
    u"開啟備份資料夾",
    u"Ouvrir le dossier de sauvegarde",
    u"Apri la cartella di backup",
    u"Sicherungsordner öffnen",
    u"Abrir carpeta de copias",
    u"Abrir pasta de backup",
    u"Otwórz folder kopii",
};

constexpr TextRow kOkButton = {
    u"OK",
    u"OK",
    u"확인",
    u"确定",
    u"確定",
    u"OK",
    u"OK",
    u"OK",
    u"Aceptar",
    u"OK",
    u"OK",
};

constexpr TextRow kCancelButton = {
    u"キャンセル",
    u"Cancel",
    u"취소",
    u"取消",
    u"取消",
    u"Annuler",
    u"Annulla",
    u"Abbrechen",
    u"Cancelar",
    u"Cancelar",
    u"Anuluj",
};

constexpr TextRow kHoldCtrlOrAlt = {
    u"Ctrl か Alt を押しながらキーを押す",
    u"Hold Ctrl or Alt, then a key",
    u"Ctrl 또는 Alt를 누른 채 키 입력",
    u"按住 Ctrl 或 Alt，再按一个键",
    u"按住 Ctrl 或 Alt，再按一個鍵",
    u"Maintenez Ctrl ou Alt, puis une touche",
    u"Tieni premuto Ctrl o Alt, poi un tasto",
    u"Strg oder Alt halten, dann eine Taste",
    u"Mantén Ctrl o Alt y pulsa una tecla",
    u"Segure Ctrl ou Alt e pressione uma tecla",
    u"Przytrzymaj Ctrl lub Alt, potem klawisz",
};

constexpr TextRow kCtrlOrAltRequired = {
    u"Ctrl か Alt が必要です",
    u"Ctrl or Alt is required",
    u"Ctrl 또는 Alt가 필요합니다",
    u"必须包含 Ctrl 或 Alt",
    u"必須包含 Ctrl 或 Alt",
    u"Ctrl ou Alt est requis",
    u"Serve Ctrl o Alt",
    u"Strg oder Alt erforderlich",
    u"Se necesita Ctrl o Alt",
    u"É necessário Ctrl ou Alt",
    u"Wymagany Ctrl lub Alt",
};

constexpr TextRow kOneDriveNotFound = {
    u"OneDrive フォルダーが見つかりません。\nOneDrive にサインインしてこの PC を同期してから、もう一度お試しください。",
    u"OneDrive folder not found.\nSign in to OneDrive, sync this PC, and try again.",
    u"OneDrive 폴더를 찾을 수 없습니다.\nOneDrive에 로그인하고 이 PC를 동기화한 후 다시 시도하세요.",
    u"找不到 OneDrive 文件夹。\n请登录 OneDrive 并同步此电脑，然后重试。",
    u"找不到 OneDrive 資料夾。\n請登入 OneDrive 並同步這部電腦，然後再試一次。",
    u"Dossier OneDrive introuvable.\nConnectez-vous à OneDrive, synchronisez ce PC, puis réessayez.",
    u"Cartella OneDrive non trovata.\nAccedi a OneDrive, sincronizza questo PC e riprova.",
    u"OneDrive-Ordner nicht gefunden.\nMelden Sie sich bei OneDrive an, synchronisieren Sie diesen PC und versuchen Sie es erneut.",
    u"No se encontró la carpeta de OneDrive.\nInicia sesión en OneDrive, sincroniza este equipo y vuelve a intentarlo.",
    u"Pasta do OneDrive não encontrada.\nEntre no OneDrive, sincronize este PC e tente novamente.",
    u"Nie znaleziono folderu OneDrive.\nZaloguj się do OneDrive, zsynchronizuj ten komputer i spróbuj ponownie.",
};

constexpr TextRow kShareNeedsSave = {
    u"メモを保存できなかったため、共有しませんでした。",
    u"The note could not be saved, so it was not shared.",
    u"메모를 저장하지 못해 공유하지 않았습니다.",
    u"无法保存笔记，因此未共享。",
    u"無法儲存筆記，因此未共用。",
    u"La note n'a pas pu être enregistrée : elle n'a pas été partagée.",
    u"Impossibile salvare la nota: non è stata condivisa.",
    u"Die Notiz konnte nicht gespeichert werden und wurde nicht geteilt.",
    u"No se pudo guardar la nota, así que no se compartió.",
    u"Não foi possível salvar a nota, por isso ela não foi compartilhada.",
    u"Nie udało się zapisać notatki, więc jej nie udostępniono.",
};

// Indexed by TextId.
constexpr const TextRow* kTextRows[] = {
    &kWelcomeText,
    &kLoadFailedTooLarge,
    &kLoadFailedUnreadable,
    &kSaveFailed,
    &kHotkeyFailed,
    &kExitWaitsForSave,
    &kUnsavedTextKept,
    &kSearchLabel,
    &kReplaceLabel,
    &kReplaceAllLabel,
    &kCloseLabel,
    &kToggleReplaceRow,
    &kNotFound,
    &kNothingReplacedReadOnly,
    &kClosePanel,
    &kShowPanel,
    &kNoneChoice,
    &kWrapLabel,
    &kWrapToWindow,
    &kDontWrap,
    &kSectionMarkerLabel,
    &kDividerLine,
    &kHeadingLine,
    &kFontLabel,
    &kFixedWidth,
    &kProportional,
    &kPanelOpacity,
    &kMakeTranslucent,
    &kCloseOnFocusLost,
    &kPhoneSync,
    &kPhoneQrIntro,
    &kPhoneQrHomeScreen,
    &kFindCommand,
    &kVoiceTyping,
    &kOpenWithDefaultApp,
    &kShareCommand,
    &kAlwaysOnTop,
    &kProperties,
    &kCharsSuffix,
    &kBytesSuffix,
    &kHighlightWord,
    &kGoToLine,
    &kHeadingListLabel,
    &kSidebarButton,
    &kSettingsButton,
    &kReadmeMenu,
    &kSettingsMenu,
    &kHelpMenu,
    &kPhoneDocMenu,
    &kChangelogMenu,
    &kAboutApp,
    &kExitApp,
    &kLineNumberCue,
    &kUndoCommand,
    &kRedoCommand,
    &kCutCommand,
    &kCopyCommand,
    &kPasteCommand,
    &kDeleteCommand,
    &kSelectAllCommand,
    &kSelectThisNote,
    &kInsertDateTimeCommand,
    &kHighlightSelectedText,
    &kHighlightWordAtCaret,
    &kSearchWebCommand,
    &kReplaceCommand,
    &kGoToLastEdit,
    &kTextSubmenu,
    &kDuplicateLine,
    &kJoinLines,
    &kMoveLineUp,
    &kMoveLineDown,
    &kSortAscending,
    &kSortDescending,
    &kRemoveDuplicateLines,
    &kRemoveEmptyLines,
    &kTrimTrailingWhitespace,
    &kInsertDate,
    &kInsertTime,
    &kOpenContainingFolder,
    &kPathNotFound,
    &kFolderEmpty,
    &kMoreEntries,
    &kNetworkPathNotListed,
    &kSettingsTitle,
    &kAppearanceHeading,
    &kTextHeading,
    &kMemoHeading,
    &kWindowHeading,
    &kBackupHeading,
    &kLanguageLabel,
    &kWindowsDisplayLanguage,
    &kThemeLabel,
    &kMatchWindows,
    &kLightTheme,
    &kDarkTheme,
    &kShowLineNumbers,
    &kHighlightCurrentLine,
    &kUnderlineCurrentLine,
    &kShowSidebar,
    &kCaretLabel,
    &kCaretLine,
    &kCaretBlock,
    &kCaretDos,
    &kFontSizeLabel,
    &kFoldMemos,
    &kStartWithWindows,
    &kShortcutToShowPanel,
    &kIntervalMinutes,
    &kGenerations,
    &kOpenBackupFolder,
    &kOkButton,
    &kCancelButton,
    &kHoldCtrlOrAlt,
    &kCtrlOrAltRequired,
    &kOneDriveNotFound,
    &kShareNeedsSave,
};
static_assert(std::size(kTextRows) == static_cast<std::size_t>(kTextIdCount),
              "every TextId needs a row");

// Stands in for an id outside the table: every language gives "".
constexpr TextRow kNoText = {nullptr, u""};
static_assert(kEnglish == 1);

bool IsMissing(const char16_t* entry) {
    return entry == nullptr || entry[0] == u'\0';
}

}  // namespace

std::u16string_view PickText(const TextRow& row, int language) {
    if (language >= 0 && language < kLanguageCount && !IsMissing(row[language])) {
        return row[language];
    }
    return row[kEnglish];
}

const TextRow& TextRowOf(TextId id) {
    const int index = static_cast<int>(id);
    return (index >= 0 && index < kTextIdCount) ? *kTextRows[index] : kNoText;
}

std::u16string_view Text(TextId id, int language) {
    return PickText(TextRowOf(id), language);
}

// Polish takes the count's magnitude; widened first so INT_MIN has one.
PolishPlural PolishPluralOf(int count) {
    const std::int64_t wide = count;
    const std::int64_t n = wide < 0 ? -wide : wide;
    if (n == 1) return PolishPlural::One;
    const std::int64_t lastDigit = n % 10;
    const std::int64_t lastTwo = n % 100;
    if (lastDigit >= 2 && lastDigit <= 4 && (lastTwo < 12 || lastTwo > 14)) return PolishPlural::Few;
    return PolishPlural::Many;
}

namespace {

std::u16string_view PolishForm(int count, std::u16string_view one, std::u16string_view few,
                               std::u16string_view many) {
    switch (PolishPluralOf(count)) {
    case PolishPlural::One: return one;
    case PolishPlural::Few: return few;
    case PolishPlural::Many: return many;
    }
    return many;
}

}  // namespace

std::u16string_view CharacterCountFormat(int count, int language) {
    const bool one = count == 1;
    switch (language) {
    case kJapanese: return u"%d文字";
    case kKorean: return u"%d글자";
    case kChineseSimplified:
    case kChineseTraditional: return u"%d字";
    case kFrench: return one ? u"%d caractère" : u"%d caractères";
    case kItalian: return one ? u"%d carattere" : u"%d caratteri";
    case kGerman: return u"%d Zeichen";
    case kSpanish: return one ? u"%d carácter" : u"%d caracteres";
    case kPortugueseBrazil: return one ? u"%d caractere" : u"%d caracteres";
    case kPolish: return PolishForm(count, u"%d znak", u"%d znaki", u"%d znaków");
    default: return one ? u"%d character" : u"%d characters";
    }
}

std::u16string_view ReplacedCountFormat(int count, int language) {
    const bool one = count == 1;
    switch (language) {
    case kJapanese: return u"%d 件を置換しました";
    case kKorean: return u"%d개를 바꿨습니다";
    case kChineseSimplified: return u"已替换 %d 处";
    case kChineseTraditional: return u"已取代 %d 處";
    case kFrench: return one ? u"%d occurrence remplacée" : u"%d occurrences remplacées";
    case kItalian: return one ? u"%d occorrenza sostituita" : u"%d occorrenze sostituite";
    case kGerman: return u"%d Vorkommen ersetzt";
    case kSpanish: return one ? u"%d coincidencia reemplazada" : u"%d coincidencias reemplazadas";
    case kPortugueseBrazil: return one ? u"%d ocorrência substituída" : u"%d ocorrências substituídas";
    case kPolish:
        return PolishForm(count, u"%d wystąpienie zamienione", u"%d wystąpienia zamienione",
                          u"%d wystąpień zamienionych");
    default: return one ? u"%d occurrence replaced" : u"%d occurrences replaced";
    }
}

std::u16string WithCount(std::u16string_view format, std::size_t count) {
    std::u16string text(format);
    if (const std::size_t at = text.find(u"%d"); at != std::u16string::npos) text.replace(at, 2, DecimalText(count));
    return text;
}

std::u16string_view OpacityLevelName(int level, int language) {
    // How translucent the panel is; "None" keeps it opaque.
    static constexpr TextRow kLevels[] = {
        {u"なし", u"None", u"없음", u"无", u"無", u"Aucune", u"Nessuna", u"Keine", u"Ninguna", u"Nenhuma",
         u"Brak"},
        {u"弱い", u"Weak", u"약함", u"轻微", u"輕微", u"Faible", u"Bassa", u"Schwach", u"Baja", u"Baixa",
         u"Słaba"},
        {u"やや弱い", u"Somewhat weak", u"약간 약함", u"较弱", u"較弱", u"Plutôt faible", u"Medio-bassa",
         u"Eher schwach", u"Algo baja", u"Um pouco baixa", u"Dość słaba"},
        {u"やや強い", u"Somewhat strong", u"약간 강함", u"较强", u"較強", u"Plutôt forte", u"Medio-alta",
         u"Eher stark", u"Algo alta", u"Um pouco alta", u"Dość silna"},
        {u"強い", u"Strong", u"강함", u"强", u"強", u"Forte", u"Alta", u"Stark", u"Alta", u"Alta", u"Silna"},
    };
    return PickText(kLevels[level < 0 ? 0 : level > 4 ? 4 : level], language);
}

std::u16string_view ModifierKeyName(ModifierKey key, int language) {
    // Where the keys carry other words than Ctrl, Alt and Shift.
    if (key == ModifierKey::Ctrl) return language == kGerman ? u"Strg" : u"Ctrl";
    if (key == ModifierKey::Alt) return u"Alt";
    switch (language) {
    case kGerman: return u"Umschalt";
    case kFrench: return u"Maj";
    case kItalian: return u"Maiusc";
    case kSpanish: return u"Mayús";
    default: return u"Shift";
    }
}

std::u16string_view InsertMarkerText(bool heading, int language) {
    static constexpr TextRow kSeparator = {
        u"区切り線を挿入", u"Insert Separator", u"구분선 삽입", u"插入分隔线", u"插入分隔線",
        u"Insérer une ligne de séparation", u"Inserisci linea di separazione", u"Trennlinie einfügen",
        u"Insertar línea divisoria", u"Inserir linha divisória", u"Wstaw linię podziału",
    };
    static constexpr TextRow kHeading = {
        u"見出しを挿入", u"Insert Heading", u"제목 삽입", u"插入标题", u"插入標題", u"Insérer un titre",
        u"Inserisci intestazione", u"Überschrift einfügen", u"Insertar encabezado", u"Inserir título",
        u"Wstaw nagłówek",
    };
    return PickText(heading ? kHeading : kSeparator, language);
}

std::u16string SubmenuLabel(std::u16string_view name, std::u16string_view choice, int language) {
    const bool fullWidth = language == kJapanese;
    std::u16string label(name);
    label += fullWidth ? u"\uFF08" : u" (";
    label += choice;
    label += fullWidth ? u"\uFF09" : u")";
    return label;
}

}  // namespace quillpane
