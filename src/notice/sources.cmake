# Sales notices by mail to the producers during the day: what is due, the day's sales per producer, the
# message, the record of what was sent, and the SMTP sending through libcurl. No screens: the settings
# dialog and the producer editor's notice box are in settings/.
set(NOTICE_CORE_SOURCES
  notice/CurlMailSender.cpp
  notice/DaySales.cpp
  notice/FmrNotice.cpp
  notice/MailAddress.cpp
  notice/NoticeLog.cpp
  notice/NoticeMessage.cpp
  notice/NoticePlan.cpp
  notice/NoticeRun.cpp
  notice/NoticeSettings.cpp
  notice/NoticeTables.cpp
  notice/NoticeTimes.cpp
  notice/SmtpPassword.cpp
)
